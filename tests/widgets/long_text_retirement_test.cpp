// Whether LongTextPainter is still needed: a plain QLineEdit holding a million characters against
// one that the painter paints, side by side in one window, each focused in turn. Each function
// fails while the plain field is much costlier, saying "still needed on Qt X.Y" and by how much;
// CTest expects that (retire_long_text_painter_repaint and _idle). The day one passes, that Qt's
// QLineEdit is quick enough by itself and the painter can go.
#include "widgets/long_text_painter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <limits>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <ctime>
#endif

using widgets::LongTextPainter;

namespace {

// The processor time the whole process has used, in seconds.
double processSeconds()
{
#ifdef Q_OS_WIN
    FILETIME created, ended, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
    const auto seconds = [](FILETIME time) {
        return double((quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
#else
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
#endif
}

QString stillNeeded(const QString &why)
{
    return QStringLiteral("still needed on Qt %1: a plain QLineEdit with a million characters %2")
        .arg(QString::fromLatin1(qVersion()), why);
}

} // namespace

class LongTextRetirementTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void plainFieldRepaintsAsQuickly();
    void plainFieldIdlesAsQuietly();

private:
    // The quickest of five repaints of the field, focused, in milliseconds.
    double repaintMilliseconds(QLineEdit *field);

    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_painted = nullptr;
    QLineEdit *m_plain = nullptr;
};

void LongTextRetirementTest::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 100);
    m_painted = new QLineEdit(m_window.get());
    m_plain = new QLineEdit(m_window.get());
    const QString million(1'000'000, u'7');
    int top = 0;
    for (QLineEdit *field : {m_painted, m_plain}) {
        field->setGeometry(0, top, 169, 27);
        field->setMaxLength(std::numeric_limits<int>::max());
        field->setText(million);
        top += 30;
    }
    new LongTextPainter(m_painted);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void LongTextRetirementTest::cleanup()
{
    m_window.reset();
}

double LongTextRetirementTest::repaintMilliseconds(QLineEdit *field)
{
    field->setFocus();
    QCoreApplication::processEvents();
    double quickest = std::numeric_limits<double>::max();
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        field->repaint();
        quickest = std::min(quickest, double(timer.nsecsElapsed()) / 1e6);
    }
    return quickest;
}

// Within four times the painted field's time: the painter's own cost is well under a
// millisecond, a plain field's about a tenth of a second.
void LongTextRetirementTest::plainFieldRepaintsAsQuickly()
{
    const double painted = repaintMilliseconds(m_painted);
    const double plain = repaintMilliseconds(m_plain);
    const double ratio = plain / std::max(painted, 0.001);
    if (ratio > 4) {
        QFAIL(qPrintable(stillNeeded(QStringLiteral("repaints in %1 ms, %2 times as long as "
                                                    "with the painter (%3 ms)")
                                         .arg(plain, 0, 'f', 1)
                                         .arg(ratio, 0, 'f', 0)
                                         .arg(painted, 0, 'f', 2))));
    }
    // Passing means the painter can go, or that it got slow itself: the times tell which.
    qInfo("a plain QLineEdit repaints in %.1f ms, the painted field in %.2f ms", plain, painted);
}

// At rest with the focus and a blinking cursor: the painted field uses under 1 % of a core, a
// plain one a quarter or more.
void LongTextRetirementTest::plainFieldIdlesAsQuietly()
{
    m_plain->setFocus();
    QTest::qWait(200);
    QElapsedTimer wall;
    wall.start();
    const double before = processSeconds();
    QTest::qWait(3000);
    const double percent = 100 * (processSeconds() - before) / (double(wall.elapsed()) / 1000);
    if (percent > 3) {
        QFAIL(qPrintable(stillNeeded(QStringLiteral("idles at %1 % of a core, where the painted "
                                                    "field stays under 1 %")
                                         .arg(percent, 0, 'f', 0))));
    }
}

QTEST_MAIN(LongTextRetirementTest)
#include "long_text_retirement_test.moc"
