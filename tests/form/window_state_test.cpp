// The window in each state a desktop can put it in, on a real window system (an X display with a
// window manager, or a Wayland compositor; tools/with-display): the program lives on, the window
// takes the size the state gives it, the controls keep their texts and places, a calculation
// still works, and back in the normal state the window has its designed size again.
#include "core/field_panel.h"
#include "form/pelmora.h"
#include "tests/support/window_test.h"

#include <QScreen>
#include <QWindow>
#include <QtTest>

#include <memory>

using pelmora::test::WindowDriver;

Q_DECLARE_METATYPE(Qt::WindowState)

// How long the window system may take to give the window the size of its state. A compositor
// that shares a busy machine has been seen to take over 7 s; an idle one takes milliseconds.
static constexpr int answerMilliseconds = 30'000;

class WindowStateTest : public pelmora::test::WindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyStateKeepsTheWindowWorking_data();
    void everyStateKeepsTheWindowWorking();

private:
    QMap<QString, QRect> controlPlaces() const;
};

void WindowStateTest::init()
{
    QVERIFY(openWindow());
}

void WindowStateTest::cleanup()
{
    closeWindow();
}

QMap<QString, QRect> WindowStateTest::controlPlaces() const
{
    QMap<QString, QRect> places;
    for (const QWidget *control : m_window->findChildren<QWidget *>()) {
        if (!control->objectName().isEmpty())
            places.insert(control->objectName(), control->geometry());
    }
    return places;
}

void WindowStateTest::everyStateKeepsTheWindowWorking_data()
{
    QTest::addColumn<Qt::WindowState>("state");
    QTest::newRow("maximised") << Qt::WindowMaximized;
    QTest::newRow("full screen") << Qt::WindowFullScreen;
    QTest::newRow("minimised") << Qt::WindowMinimized;
}

void WindowStateTest::everyStateKeepsTheWindowWorking()
{
    QFETCH(Qt::WindowState, state);
    const WindowDriver &driver = *m_driver;
    const QSize designedSize = m_window->size();
    driver.type(pelmora::decimalField, QStringLiteral("5"));
    driver.calculate();
    const QStringList results = driver.texts();
    const QMap<QString, QRect> places = controlPlaces();

    m_window->setWindowState(state);
    if (state == Qt::WindowMinimized) {
        // A Wayland compositor does not say whether it minimised a window; give it the time.
        QTest::qWait(500);
    } else {
        // Maximised, the window fills the screen but for the panels; full screen, all of it.
        const QRect screen = state == Qt::WindowFullScreen
                                 ? m_window->screen()->geometry()
                                 : m_window->screen()->availableGeometry();
        const auto grown = [&] {
            return m_window->width() > designedSize.width() &&
                   m_window->height() > designedSize.height();
        };
        QTRY_VERIFY_WITH_TIMEOUT(grown(), answerMilliseconds);
        QVERIFY(m_window->width() <= screen.width() && m_window->height() <= screen.height());
    }
    QCOMPARE(driver.texts(), results);
    QCOMPARE(controlPlaces(), places);
    // Repainted and used in that state: the window system has to take what the window shows.
    driver.type(pelmora::decimalField, QStringLiteral("9"));
    driver.calculate();
    QTest::qWait(200);
    QCOMPARE(driver.field(pelmora::decimalGrayField)->text(), QStringLiteral("13"));

    m_window->showNormal();
    QTRY_COMPARE_WITH_TIMEOUT(m_window->size(), designedSize, answerMilliseconds);
    QVERIFY(m_window->isVisible());
    QCOMPARE(controlPlaces(), places);
    QCOMPARE(driver.field(pelmora::binaryField)->text(), QStringLiteral("1001"));
}

QTEST_MAIN(WindowStateTest)
#include "window_state_test.moc"
