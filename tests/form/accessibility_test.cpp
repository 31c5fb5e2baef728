// The window as a screen reader sees it, through QAccessible: the text fields answer every
// boundary query at once and consistently, the picture and the explanation are named, and the
// results of a calculation are announced.
#include "form/pelmora.h"
#include "tests/support/window_driver.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

using pelmora::test::closeMessageDuring;
using pelmora::test::WindowDriver;
using namespace pelmora;

namespace {

// A query that has not returned within its limit ends the test program with the message below,
// so that a hang fails the test instead of stalling the whole test run.
QByteArray pendingQuery;

template <typename Query> QString withinSeconds(unsigned seconds, Query query)
{
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        if (!answered.wait_for(lock, std::chrono::seconds(seconds), [&] { return done; })) {
            std::fputs(pendingQuery.constData(), stderr);
            std::fflush(stderr);
            std::_Exit(EXIT_FAILURE);
        }
    });
    const QString answer = query();
    {
        const std::lock_guard lock(mutex);
        done = true;
    }
    answered.notify_one();
    watchdog.join();
    return answer;
}

enum class Side { Before, At, After };

struct Answer
{
    QString text;
    int start;
    int end;
};

const QList<QAccessible::TextBoundaryType> boundaries{
    QAccessible::CharBoundary,      QAccessible::WordBoundary, QAccessible::SentenceBoundary,
    QAccessible::ParagraphBoundary, QAccessible::LineBoundary, QAccessible::NoBoundary};

const char *sideName(Side side)
{
    return side == Side::Before ? "before" : side == Side::At ? "at" : "after";
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void boundaryQueriesAreConsistent_data();
    void boundaryQueriesAreConsistent();
    void boundaryQueriesAnswer_data();
    void boundaryQueriesAnswer();
    void millionCharacterFieldAnswers();
    void pictureAndExplanationAreNamed();
    void resultsAreAnnounced_data();
    void resultsAreAnnounced();

private:
    Answer ask(int field, Side side, QAccessible::TextBoundaryType boundary, int offset,
               unsigned seconds = 1);
    QAccessibleInterface *notification() const;

    std::unique_ptr<Pelmora> m_window;
    std::unique_ptr<WindowDriver> m_driver;
};

void AccessibilityTest::init()
{
    m_window = std::make_unique<Pelmora>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_driver = std::make_unique<WindowDriver>(m_window.get());
}

void AccessibilityTest::cleanup()
{
    m_driver.reset();
    m_window.reset();
}

// Asks the field's accessibility interface as a screen reader does.
Answer AccessibilityTest::ask(int field, Side side, QAccessible::TextBoundaryType boundary,
                              int offset, unsigned seconds)
{
    QAccessibleTextInterface *text =
        QAccessible::queryAccessibleInterface(m_driver->field(field))->textInterface();
    pendingQuery = QByteArray("FAIL!  : no answer in time for the text ") + sideName(side) +
                   " offset " + QByteArray::number(offset) + " by boundary " +
                   QByteArray::number(boundary) + '\n';
    Answer answer{{}, -2, -2};
    answer.text = withinSeconds(seconds, [&] {
        switch (side) {
        case Side::Before:
            return text->textBeforeOffset(offset, boundary, &answer.start, &answer.end);
        case Side::At:
            return text->textAtOffset(offset, boundary, &answer.start, &answer.end);
        case Side::After:
            break;
        }
        return text->textAfterOffset(offset, boundary, &answer.start, &answer.end);
    });
    return answer;
}

void AccessibilityTest::boundaryQueriesAreConsistent_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("13") << QStringLiteral("13");
    QTest::newRow("2147483648") << QStringLiteral("2147483648");
    QTest::newRow("blanks") << QStringLiteral(" 12  3,4. Да ");
}

// At every offset from 0 to the length, for every kind of boundary: the item at the offset
// holds it, the item before ends where it starts and the item after starts where it ends, and
// each answer is the text between its start and end. No item is -1, -1 and no text.
void AccessibilityTest::boundaryQueriesAreConsistent()
{
    QFETCH(QString, text);
    m_driver->paste(decimalField, text);
    const int size = int(text.size());
    for (QAccessible::TextBoundaryType boundary : boundaries) {
        for (int offset = 0; offset <= size; ++offset) {
            const QByteArray where = "offset " + QByteArray::number(offset) + ", boundary " +
                                     QByteArray::number(boundary);
            const Answer at = ask(0, Side::At, boundary, offset);
            QVERIFY2(at.start >= 0 && at.start <= offset && offset <= at.end && at.end <= size,
                     where);
            QVERIFY2(offset == size || offset < at.end, where);
            QCOMPARE(at.text, text.mid(at.start, at.end - at.start));

            for (Side side : {Side::Before, Side::After}) {
                const Answer near = ask(0, side, boundary, offset);
                if (near.start == -1) {
                    QVERIFY2(near.end == -1 && near.text.isEmpty(), where);
                    continue;
                }
                QVERIFY2(near.start < near.end, where);
                QCOMPARE(near.text, text.mid(near.start, near.end - near.start));
                QCOMPARE(side == Side::Before ? near.end : near.start,
                         side == Side::Before ? at.start : at.end);
            }
        }
    }
}

void AccessibilityTest::boundaryQueriesAnswer_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    const QString blanks = QStringLiteral(" 12  34 ");
    const int at = int(Side::At), before = int(Side::Before), after = int(Side::After);
    const int chars = QAccessible::CharBoundary, words = QAccessible::WordBoundary;
    const int lines = QAccessible::LineBoundary;
    QTest::newRow("word at the end") << "13" << at << words << 2 << "" << 2 << 2;
    QTest::newRow("word before the end") << "13" << before << words << 2 << "13" << 0 << 2;
    QTest::newRow("word at a leading blank") << blanks << at << words << 0 << " " << 0 << 1;
    QTest::newRow("word inside a word") << blanks << at << words << 2 << "12" << 1 << 3;
    QTest::newRow("word before a word") << blanks << before << words << 5 << "  " << 3 << 5;
    QTest::newRow("word after a word") << blanks << after << words << 1 << "  " << 3 << 5;
    QTest::newRow("no word after the last") << blanks << after << words << 7 << "" << -1 << -1;
    QTest::newRow("no word before the first") << blanks << before << words << 0 << "" << -1 << -1;
    QTest::newRow("line at the end") << blanks << at << lines << 8 << blanks << 0 << 8;
    QTest::newRow("empty text") << "" << at << words << 0 << "" << 0 << 0;
    QTest::newRow("-1 is the end") << "13" << before << chars << -1 << "3" << 1 << 2;
    QTest::newRow("-2 is the caret") << "13" << before << chars << -2 << "3" << 1 << 2;
    QTest::newRow("beyond the end") << "13" << at << chars << 3 << "" << -1 << -1;
}

void AccessibilityTest::boundaryQueriesAnswer()
{
    QFETCH(QString, text);
    QFETCH(int, side);
    QFETCH(int, boundary);
    QFETCH(int, offset);
    QFETCH(QString, answer);
    QFETCH(int, start);
    QFETCH(int, end);
    m_driver->paste(decimalField, text); // leaves the caret at the end
    const Answer got = ask(0, Side(side), QAccessible::TextBoundaryType(boundary), offset);
    QCOMPARE(got.text, answer);
    QCOMPARE(got.start, start);
    QCOMPARE(got.end, end);
}

// A pasted million characters: each query reads the whole text once, never once per offset.
void AccessibilityTest::millionCharacterFieldAnswers()
{
    const int million = 1'000'000;
    m_driver->paste(decimalField, QString(million - 1, u' ') + u'5');
    const unsigned limit = 10;
    for (QAccessible::TextBoundaryType boundary : boundaries) {
        for (int offset : {0, 1, million / 2, million - 1, million}) {
            for (Side side : {Side::Before, Side::At, Side::After})
                ask(0, side, boundary, offset, limit);
        }
    }
    const Answer blanks = ask(0, Side::At, QAccessible::WordBoundary, million / 2, limit);
    QCOMPARE(blanks.start, 0);
    QCOMPARE(blanks.end, million - 1);
    const Answer last = ask(0, Side::Before, QAccessible::WordBoundary, million, limit);
    QCOMPARE(last.text, QStringLiteral("5"));
    QCOMPARE(last.start, million - 1);
}

void AccessibilityTest::pictureAndExplanationAreNamed()
{
    QAccessibleInterface *picture = QAccessible::queryAccessibleInterface(
        m_driver->control<QLabel>(QStringLiteral("Picture1")));
    QVERIFY(!picture->text(QAccessible::Name).isEmpty());
    QVERIFY(picture->text(QAccessible::Description).contains(QStringLiteral("Грей")));
    QAccessibleInterface *explanation = QAccessible::queryAccessibleInterface(
        m_driver->control<QPlainTextEdit>(QStringLiteral("Text1_0")));
    QVERIFY(!explanation->text(QAccessible::Name).isEmpty());
    // The quotation box stays hidden, out of a screen reader's way.
    QAccessibleInterface *quotation = QAccessible::queryAccessibleInterface(
        m_driver->control<QPlainTextEdit>(QStringLiteral("Text1_1")));
    QVERIFY(quotation->state().invisible);
}

// The notification that a screen reader speaks when it appears, or null.
QAccessibleInterface *AccessibilityTest::notification() const
{
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(m_window.get());
    for (int i = 0; i < window->childCount(); ++i) {
        QAccessibleInterface *child = window->child(i);
        if (child->role() == QAccessible::Notification && !child->state().invisible)
            return child;
    }
    return nullptr;
}

void AccessibilityTest::resultsAreAnnounced_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("announced"); // empty: nothing
    QTest::newRow("decimal 5")
        << 0 << "5"
        << "Десетично число 5, двоично 101, преместване 010, двоично Грей 111, десетично Грей 7";
    QTest::newRow("gray 7") << 1 << "7"
                            << "Десетично число 5, двоично 101, преместване Променя се в цикъл, "
                               "двоично Грей 111, десетично Грей 7";
    QTest::newRow("pasted") << 0 << "5." + QString(100'000, u'4')
                            << "Десетично число 5." + QString(38, u'4') +
                                   "…, двоично 101, преместване 010, двоично Грей 111, "
                                   "десетично Грей 7";
    QTest::newRow("below 1") << 0 << "0.4"
                             << "";
    QTest::newRow("overflow") << 1 << "2147483648"
                              << "";
}

void AccessibilityTest::resultsAreAnnounced()
{
    QFETCH(int, direction);
    QFETCH(QString, input);
    QFETCH(QString, announced);
    m_driver->choose(direction);
    m_driver->paste(direction == decimalToGrayOption ? decimalField : decimalGrayField, input);
    QPushButton *calculate = m_driver->command(calculateCommand);
    calculate->setFocus();
    closeMessageDuring([&] { QTest::keyClick(calculate, Qt::Key_Space); });

    QAccessibleInterface *note = notification();
    QCOMPARE(note ? note->text(QAccessible::Name) : QString(), announced);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
