// A bare widget window maximised and restored again and again on a Wayland compositor
// (tools/with-display), with frame callbacks counted late after a few milliseconds, as on a busy
// machine: with widgets/wayland_exposure.h in force every configure is answered with the size it
// gives, and the compositor keeps the program connected.
//
// With PELMORA_QT_OWN_FRAME_TIMEOUT=1 the window keeps Qt's own timeout instead: the check that
// the workaround is still needed, which CTest expects to fail (retire_wayland_exposure). It says
// so, with the Qt version, when the compositor disconnects the program; the day it passes, the
// workaround can go.
#include "widgets/wayland_exposure.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtTest>

#include <cstdio>

namespace {

const bool qtOwnTimeout = qEnvironmentVariableIntValue("PELMORA_QT_OWN_FRAME_TIMEOUT") == 1;

QtMessageHandler qtHandler = nullptr;

// Qt ends the program right after this warning, when the compositor has disconnected it.
void sayStillNeeded(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (qtOwnTimeout && message.contains(QLatin1String("Wayland connection experienced"))) {
        std::fprintf(stderr,
                     "still needed on Qt %s: a window maximised while a frame is late is "
                     "disconnected\n",
                     qVersion());
        std::fflush(stderr);
    }
    qtHandler(type, context, message);
}

} // namespace

class WaylandExposureTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void maximisedWindowStaysConnected();
};

void WaylandExposureTest::initTestCase()
{
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        QSKIP("needs a Wayland compositor (tools/with-display wayland)");
    qtHandler = qInstallMessageHandler(sayStillNeeded);
    if (!qtOwnTimeout)
        widgets::keepWaylandWindowsExposed();
}

void WaylandExposureTest::maximisedWindowStaysConnected()
{
    const QSize normalSize(400, 300);
    QWidget window;
    window.resize(normalSize);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int round = 0; round < 20; ++round) {
        // A repaint commits a frame and waits for its callback; the callback counts as late
        // before the compositor has drawn the next frame, and the maximise comes in between.
        window.update();
        QTest::qWait(8);
        window.setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(window.width() > normalSize.width());
        window.update();
        QTest::qWait(8);
        window.showNormal();
        QTRY_COMPARE(window.size(), normalSize);
    }
}

QTEST_MAIN(WaylandExposureTest)
#include "wayland_exposure_test.moc"
