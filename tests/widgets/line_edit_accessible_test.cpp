// A line edit as a screen reader sees it, through QAccessible, with the interface of
// widgets/line_edit_accessible.h: it answers every boundary query at once and consistently.
//
// With PELMORA_QT_OWN_INTERFACE=1 the same rows ask Qt's own interface instead: the check that
// the workaround is still needed, which CTest expects to fail (retire_line_edit_accessible). It
// says so, with the Qt version; the day it passes, the interface can go.
#include "widgets/accessibility.h"
#include "widgets/long_text_painter.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// Whether Qt's own interface is asked rather than ours.
const bool qtOwnInterface = qEnvironmentVariableIntValue("PELMORA_QT_OWN_INTERFACE") == 1;

QByteArray stillNeeded()
{
    return QByteArray("still needed on Qt ") + qVersion() +
           ": Qt's own line-edit interface fails the boundary rows\n";
}

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
            if (qtOwnInterface)
                std::fputs(stillNeeded().constData(), stderr);
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

// How an assistive tool changes the text: QAccessibleEditableTextInterface's three functions, or
// setting the field's value.
enum Edit { Insert, Delete, Replace, SetValue };

const char *sideName(Side side)
{
    return side == Side::Before ? "before" : side == Side::At ? "at" : "after";
}

} // namespace

class LineEditAccessibleTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void boundaryQueriesAreConsistent_data();
    void boundaryQueriesAreConsistent();
    void boundaryQueriesAnswer_data();
    void boundaryQueriesAnswer();
    void millionCharacterFieldAnswers();
    void characterPlacesAndPointsAgree_data();
    void characterPlacesAndPointsAgree();
    void anyRangeIsReadAndSelectedSafely_data();
    void anyRangeIsReadAndSelectedSafely();
    void editsOnlyWhereTheUserCouldType_data();
    void editsOnlyWhereTheUserCouldType();

private:
    Answer ask(Side side, QAccessible::TextBoundaryType boundary, int offset, unsigned seconds = 1);

    std::unique_ptr<QLineEdit> m_edit;
};

void LineEditAccessibleTest::initTestCase()
{
    if (!qtOwnInterface)
        widgets::installAccessibleInterfaces();
}

void LineEditAccessibleTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    m_edit = std::make_unique<QLineEdit>();
    m_edit->setMaxLength(std::numeric_limits<int>::max());
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
}

void LineEditAccessibleTest::cleanup()
{
    m_edit.reset();
}

// Asks the field's accessibility interface as a screen reader does.
Answer LineEditAccessibleTest::ask(Side side, QAccessible::TextBoundaryType boundary, int offset,
                                   unsigned seconds)
{
    QAccessibleTextInterface *text =
        QAccessible::queryAccessibleInterface(m_edit.get())->textInterface();
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

void LineEditAccessibleTest::boundaryQueriesAreConsistent_data()
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
void LineEditAccessibleTest::boundaryQueriesAreConsistent()
{
    QFETCH(QString, text);
    m_edit->setText(text);
    const int size = int(text.size());
    for (QAccessible::TextBoundaryType boundary : boundaries) {
        for (int offset = 0; offset <= size; ++offset) {
            const QByteArray where = "offset " + QByteArray::number(offset) + ", boundary " +
                                     QByteArray::number(boundary);
            const Answer at = ask(Side::At, boundary, offset);
            QVERIFY2(at.start >= 0 && at.start <= offset && offset <= at.end && at.end <= size,
                     where);
            QVERIFY2(offset == size || offset < at.end, where);
            QCOMPARE(at.text, text.mid(at.start, at.end - at.start));

            for (Side side : {Side::Before, Side::After}) {
                const Answer near = ask(side, boundary, offset);
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

void LineEditAccessibleTest::boundaryQueriesAnswer_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("caret"); // where the caret is put first; -1 leaves it at the end
    const QString blanks = QStringLiteral(" 12  34 ");
    const QString sentences = QStringLiteral("Да. Не.");
    const int at = int(Side::At), before = int(Side::Before), after = int(Side::After);
    const int chars = QAccessible::CharBoundary, words = QAccessible::WordBoundary;
    const int lines = QAccessible::LineBoundary, sentence = QAccessible::SentenceBoundary;
    QTest::newRow("word at the end") << "13" << at << words << 2 << "" << 2 << 2 << -1;
    QTest::newRow("word before the end") << "13" << before << words << 2 << "13" << 0 << 2 << -1;
    QTest::newRow("word at a leading blank") << blanks << at << words << 0 << " " << 0 << 1 << -1;
    QTest::newRow("word inside a word") << blanks << at << words << 2 << "12" << 1 << 3 << -1;
    QTest::newRow("word before a word") << blanks << before << words << 5 << "  " << 3 << 5 << -1;
    QTest::newRow("word after a word") << blanks << after << words << 1 << "  " << 3 << 5 << -1;
    QTest::newRow("no word after the last")
        << blanks << after << words << 7 << "" << -1 << -1 << -1;
    QTest::newRow("no word before the first")
        << blanks << before << words << 0 << "" << -1 << -1 << -1;
    QTest::newRow("line at the end") << blanks << at << lines << 8 << blanks << 0 << 8 << -1;
    QTest::newRow("empty text") << "" << at << words << 0 << "" << 0 << 0 << -1;
    QTest::newRow("-1 is the end") << "13" << before << chars << -1 << "3" << 1 << 2 << -1;
    QTest::newRow("-2 is the caret") << "13" << before << chars << -2 << "3" << 1 << 2 << -1;
    QTest::newRow("-1 is the end, not the caret")
        << "123" << before << chars << -1 << "3" << 2 << 3 << 1;
    QTest::newRow("-2 is the caret, not the end")
        << "123" << before << chars << -2 << "1" << 0 << 1 << 1;
    QTest::newRow("sentence at a sentence")
        << sentences << at << sentence << 1 << "Да. " << 0 << 4 << -1;
    QTest::newRow("sentence after a sentence")
        << sentences << after << sentence << 1 << "Не." << 4 << 7 << -1;
    QTest::newRow("sentence before the last")
        << sentences << before << sentence << 7 << "Не." << 4 << 7 << -1;
    QTest::newRow("beyond the end") << "13" << at << chars << 3 << "" << -1 << -1 << -1;
    QTest::newRow("INT_MIN") << "13" << before << words << INT_MIN << "" << -1 << -1 << -1;
    QTest::newRow("INT_MAX") << "13" << after << words << INT_MAX << "" << -1 << -1 << -1;
}

void LineEditAccessibleTest::boundaryQueriesAnswer()
{
    QFETCH(QString, text);
    QFETCH(int, side);
    QFETCH(int, boundary);
    QFETCH(int, offset);
    QFETCH(QString, answer);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, caret);
    m_edit->setText(text); // leaves the caret at the end
    if (caret >= 0)
        m_edit->setCursorPosition(caret);
    const Answer got = ask(Side(side), QAccessible::TextBoundaryType(boundary), offset);
    QCOMPARE(got.text, answer);
    QCOMPARE(got.start, start);
    QCOMPARE(got.end, end);
}

// A pasted million characters: each query reads the whole text once, never once per offset.
void LineEditAccessibleTest::millionCharacterFieldAnswers()
{
    const int million = 1'000'000;
    m_edit->setText(QString(million - 1, u' ') + u'5');
    const unsigned limit = 10;
    for (QAccessible::TextBoundaryType boundary : boundaries) {
        for (int offset : {0, 1, million / 2, million - 1, million}) {
            for (Side side : {Side::Before, Side::At, Side::After})
                ask(side, boundary, offset, limit);
        }
    }
    const Answer blanks = ask(Side::At, QAccessible::WordBoundary, million / 2, limit);
    QCOMPARE(blanks.start, 0);
    QCOMPARE(blanks.end, million - 1);
    const Answer last = ask(Side::Before, QAccessible::WordBoundary, million, limit);
    QCOMPARE(last.text, QStringLiteral("5"));
    QCOMPARE(last.start, million - 1);
}

void LineEditAccessibleTest::characterPlacesAndPointsAgree_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("painted");
    QTest::newRow("short text") << QStringLiteral("1234567890") << false;
    QTest::newRow("long text, painted")
        << QString(widgets::LongTextPainter::threshold + 5, u'7') << true;
}

// A screen reader's point under a character, in screen coordinates, finds that character, with
// the field well away from the screen's corner, whether QLineEdit or the painter paints it.
void LineEditAccessibleTest::characterPlacesAndPointsAgree()
{
    QFETCH(QString, text);
    QFETCH(bool, painted);
    if (painted)
        new widgets::LongTextPainter(m_edit.get());
    m_edit->setGeometry(400, 300, 169, 27);
    m_edit->setText(text);
    m_edit->setCursorPosition(int(text.size()) - 3);
    m_edit->repaint(); // which scrolls the view to the cursor
    QAccessibleTextInterface *field =
        QAccessible::queryAccessibleInterface(m_edit.get())->textInterface();
    const QRect shown(m_edit->mapToGlobal(QPoint(0, 0)), m_edit->size());
    // Then again in a larger font: the places follow it.
    for (const int larger : {0, 3}) {
        if (larger > 0) {
            QFont font = m_edit->font();
            font.setPointSize(font.pointSize() + larger);
            m_edit->setFont(font);
            // At once, before any paint, a character is as wide as in the new font.
            const int offset = int(text.size()) - 4;
            QCOMPARE(field->characterRect(offset).width(),
                     qRound(QFontMetricsF(font).horizontalAdvance(text.at(offset))));
            m_edit->repaint();
        }
        // The characters before the cursor, which the view shows whole.
        for (int offset = int(text.size()) - 6; offset < int(text.size()) - 3; ++offset) {
            const QRect place = field->characterRect(offset);
            QVERIFY2(shown.contains(place.topLeft()), qPrintable(QString::number(offset)));
            QCOMPARE(field->offsetAtPoint(QPoint(place.left() + 1, place.center().y())), offset);
        }
    }
}

void LineEditAccessibleTest::anyRangeIsReadAndSelectedSafely_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("text"); // text(start, end)
    QTest::addColumn<int>("from");     // setSelection(0, start, end) selects [from, to)
    QTest::addColumn<int>("to");
    // scrollToSubstring(start, end) leaves the caret at the start, where QLineEdit lets it go
    // (it ignores a place past the end and takes one before the start as 0).
    QTest::addColumn<int>("caret");
    QTest::newRow("inside") << 1 << 3 << "23" << 1 << 3 << 1;
    QTest::newRow("reversed inside") << 3 << 1 << "" << 1 << 3 << 3;
    QTest::newRow("past the end") << 2 << 9 << "345" << 2 << 5 << 2;
    QTest::newRow("INT_MIN to 0") << INT_MIN << 0 << "" << 0 << 0 << 0;
    QTest::newRow("0 to INT_MAX") << 0 << INT_MAX << "12345" << 0 << 5 << 0;
    QTest::newRow("INT_MIN to INT_MAX") << INT_MIN << INT_MAX << "12345" << 0 << 5 << 0;
    QTest::newRow("INT_MAX to INT_MIN") << INT_MAX << INT_MIN << "" << 0 << 5 << 0;
    QTest::newRow("-1 to 2") << -1 << 2 << "12" << 0 << 2 << 0;
}

// Offsets from an assistive tool may be any int: the answer is the part of the text within the
// range, and nothing overflows (the sanitizer build checks that). The selection made is read back
// as one range, or as none once it is removed. Wherever it is asked, the one attribute run is the
// whole text.
void LineEditAccessibleTest::anyRangeIsReadAndSelectedSafely()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    m_edit->setText(QStringLiteral("12345"));
    QAccessibleTextInterface *field =
        QAccessible::queryAccessibleInterface(m_edit.get())->textInterface();
    QCOMPARE(field->text(start, end), text);
    field->setSelection(0, start, end);
    QCOMPARE(m_edit->selectedText(), QStringLiteral("12345").mid(from, to - from));
    QCOMPARE(field->selectionCount(), from < to ? 1 : 0);
    int selected[2] = {-1, -1};
    field->selection(0, &selected[0], &selected[1]);
    QCOMPARE(selected[0], from);
    QCOMPARE(selected[1], to);
    field->removeSelection(0);
    QVERIFY(!m_edit->hasSelectedText());
    QCOMPARE(field->selectionCount(), 0);
    int run[2] = {-1, -1};
    field->attributes(start, &run[0], &run[1]);
    QCOMPARE(QList<int>(std::begin(run), std::end(run)), QList<int>({0, 5}));
    QFETCH(int, caret);
    m_edit->setCursorPosition(4);
    field->scrollToSubstring(start, end);
    QCOMPARE(m_edit->cursorPosition(), caret);
}

void LineEditAccessibleTest::editsOnlyWhereTheUserCouldType_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("edit");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("result"); // what the field then holds
    const struct
    {
        const char *name;
        bool readOnly, enabled;
    } fields[] = {{"editable", false, true}, {"read-only", true, true}, {"disabled", false, false}};
    const struct
    {
        const char *name;
        Edit edit;
        int start, end;
        const char *result;
    } edits[] = {{"insert", Insert, 2, 2, "12ab345"},
                 {"delete", Delete, 1, 3, "145"},
                 {"replace", Replace, 1, 4, "1ab5"},
                 {"set value", SetValue, 0, 0, "ab"}};
    for (const auto &field : fields) {
        for (const auto &edit : edits) {
            const bool done = !field.readOnly && field.enabled;
            QTest::addRow("%s, %s", field.name, edit.name)
                << field.readOnly << field.enabled << int(edit.edit) << edit.start << edit.end
                << QString::fromLatin1(done ? edit.result : "12345");
        }
    }
    // Ends that do not lie in the text, in order, change nothing.
    QTest::newRow("insert before the start") << false << true << int(Insert) << -1 << -1 << "12345";
    QTest::newRow("delete past the end") << false << true << int(Delete) << 4 << 6 << "12345";
    QTest::newRow("replace reversed") << false << true << int(Replace) << 3 << 1 << "12345";
}

// An assistive tool edits the text where the user could type, and there only. The state it
// reads tells it which: a read-only field is marked read-only, any other editable.
void LineEditAccessibleTest::editsOnlyWhereTheUserCouldType()
{
    QFETCH(bool, readOnly);
    QFETCH(bool, enabled);
    QFETCH(int, edit);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, result);
    m_edit->setText(QStringLiteral("12345"));
    m_edit->setReadOnly(readOnly);
    m_edit->setEnabled(enabled);
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(m_edit.get());
    QCOMPARE(field->state().readOnly, readOnly);
    QCOMPARE(field->state().editable, !readOnly);
    QAccessibleEditableTextInterface *editor = field->editableTextInterface();
    const QString ab = QStringLiteral("ab");
    switch (Edit(edit)) {
    case Insert:
        editor->insertText(start, ab);
        break;
    case Delete:
        editor->deleteText(start, end);
        break;
    case Replace:
        editor->replaceText(start, end, ab);
        break;
    case SetValue:
        field->setText(QAccessible::Value, ab);
        break;
    }
    QCOMPARE(m_edit->text(), result);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    LineEditAccessibleTest test;
    const int failed = QTest::qExec(&test, argc, argv);
    if (qtOwnInterface) {
        std::fputs(failed ? stillNeeded().constData()
                          : QByteArray(QByteArray("Qt ") + qVersion() +
                                       "'s own line-edit interface passes the boundary rows: "
                                       "widgets/line_edit_accessible can go\n")
                                .constData(),
                   stderr);
    }
    return failed;
}
#include "line_edit_accessible_test.moc"
