// The same random user, seed by seed, on a field with a long-text painter and on a plain
// QLineEdit of the same size and font: after every step both must hold the same text, cursor
// and selection, copy the same text, show the same pixels, and tell input methods and screen
// readers the same places. Each seed plays twice: on bare fields, and in the program's window,
// on its input field against a plain QLineEdit put in its place (the same geometry, and the
// window's font, palette and style). The texts hover around the length at which the painter takes
// over, so that they cross it both ways, and hold digits, blanks, line breaks and control
// characters, all of which advance by whole pixels in this font, so the pixels must agree exactly.
// The digit 1 is left out: this font kerns "11", which a long text is laid out without.
//
// PELMORA_SEEDS=first-last picks the seeds (1-8 by default); a failure names the seed and the
// step, and PELMORA_SEEDS=n-n replays that seed alone.
#include "core/field_panel.h"
#include "form/pelmora.h"
#include "widgets/accessibility.h"
#include "widgets/long_text_painter.h"

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QStyleHints>
#include <QtTest>

#include <cstdlib>
#include <limits>
#include <memory>
#include <random>

using widgets::LongTextPainter;

namespace {

constexpr int steps = 120;

// "what: painted, plain plain" when the two differ.
template <typename T> QString differs(const char *what, const T &painted, const T &plain)
{
    QString text;
    if (!(painted == plain))
        QDebug(&text).nospace() << what << ": " << painted << ", plain " << plain;
    return text;
}

// What a user sees and what assistive technology is told after a step.
struct Seen
{
    QString action;
    QString text;
    QList<int> cursorAndSelection;
    QString clipboard;
    QImage pixels;
    QRect caret;
    QList<QRect> characters;
    QList<int> offsetsAtPoints;

    // The first thing that differs, or nothing.
    QString differenceFrom(const Seen &plain) const
    {
        const QString found[] = {
            differs("text", text == plain.text, true),
            differs("cursor, selection start and length", cursorAndSelection,
                    plain.cursorAndSelection),
            differs("copied", clipboard == plain.clipboard, true),
            differs("caret", caret, plain.caret),
            differs("characters around the cursor", characters, plain.characters),
            differs("offsets at points", offsetsAtPoints, plain.offsetsAtPoints),
            differs("pixel columns", differentColumns(plain.pixels), QList<int>()),
        };
        for (const QString &difference : found) {
            if (!difference.isEmpty())
                return difference;
        }
        return {};
    }

    QList<int> differentColumns(const QImage &plain) const
    {
        QList<int> columns;
        for (int x = 0; x < pixels.width(); ++x) {
            for (int y = 0; y < pixels.height(); ++y) {
                if (pixels.pixel(x, y) != plain.pixel(x, y)) {
                    columns.append(x);
                    break;
                }
            }
        }
        return columns;
    }
};

// One user action, drawn from the seed alone, so that both fields get the very same ones.
struct Action
{
    int kind;
    int a; // a key, a character, a count or an x
    int b; // a second x, or modifiers
    QString text;
};

class User
{
public:
    explicit User(unsigned seed) : m_random(seed) {}

    // A text of about the threshold's length, give or take a few characters, or a short piece.
    QString text(qsizetype around)
    {
        static const QString letters =
            QStringLiteral("0234567890234567890234567   \n\x01") + QChar(QChar::LineSeparator);
        QString text;
        const qsizetype size = std::max<qsizetype>(0, around + pick(81) - 40);
        text.reserve(size);
        while (text.size() < size)
            text += letters.at(pick(int(letters.size())));
        return text;
    }

    Action next(int width)
    {
        const int kind = pick(18);
        switch (kind) {
        case 0: // a typed digit or blank
            return {kind, QStringLiteral("023456789 ").at(pick(10)).unicode(), 0, {}};
        case 1: // a key
        case 2: // a key held down
            return {kind, pick(int(keys().size())), 5 + pick(36), {}};
        case 9: // a paste of a short piece or of enough to cross the threshold
            return {kind, 0, 0, text(pick(3) == 0 ? LongTextPainter::threshold / 2 : 20)};
        case 12: // a new text from the program
            return {kind, 0, 0, text(LongTextPainter::threshold)};
        case 16: // the text made to cross the threshold, the cursor some characters before its end
            return {kind, 1 + pick(12), 0, {}};
        default: // the pointer: two places, a little beyond the field's edges too
            return {kind, pick(width + 20) - 10, pick(width + 20) - 10, {}};
        }
    }

    // Moving and selecting keys, deleting ones, select all, undo and redo (standard keys are
    // the platform theme's, known once the application runs).
    static const QList<QKeySequence> &keys()
    {
        static const QList<QKeySequence> keys = {Qt::Key_Home,
                                                 Qt::Key_End,
                                                 Qt::Key_Left,
                                                 Qt::Key_Right,
                                                 Qt::SHIFT | Qt::Key_Left,
                                                 Qt::SHIFT | Qt::Key_Right,
                                                 Qt::SHIFT | Qt::Key_Home,
                                                 Qt::SHIFT | Qt::Key_End,
                                                 Qt::CTRL | Qt::Key_Left,
                                                 Qt::CTRL | Qt::Key_Right,
                                                 Qt::Key_Backspace,
                                                 Qt::Key_Delete,
                                                 QKeySequence::SelectAll,
                                                 QKeySequence::Undo,
                                                 QKeySequence::Redo};
        return keys;
    }

private:
    int pick(int n) { return int(m_random() % unsigned(n)); }

    std::mt19937 m_random;
};

bool paintedByThePainter(const QLineEdit *edit)
{
    const auto *painter = edit->findChild<LongTextPainter *>();
    return painter != nullptr && painter->isLong();
}

} // namespace

class LongTextDifferentialTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void seenAsInAPlainLineEdit_data();
    void seenAsInAPlainLineEdit();

private:
    std::vector<Seen> play(unsigned seed, bool inWindow, bool painted, int *longSteps);
    QLineEdit *makeBareFields(unsigned seed, bool painted);
    QLineEdit *makeWindowField(bool painted);
    void act(QLineEdit *edit, const Action &action);
    Seen look(QLineEdit *edit);

    std::unique_ptr<QWidget> m_window;
    QWidget *m_elsewhere = nullptr;
};

void LongTextDifferentialTest::initTestCase()
{
    widgets::installAccessibleInterfaces();
    // A cursor that does not blink is in both fields shown whenever they have the focus.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    // A click after a double click at the same place is a triple click however long the steps
    // in between take, in both fields alike.
    QApplication::setDoubleClickInterval(std::numeric_limits<int>::max() / 2);
}

void LongTextDifferentialTest::cleanup()
{
    m_window.reset();
}

void LongTextDifferentialTest::seenAsInAPlainLineEdit_data()
{
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<bool>("inWindow");
    unsigned first = 1;
    unsigned last = 8;
    const QStringList range = qEnvironmentVariable("PELMORA_SEEDS").split(u'-');
    if (range.size() == 2) {
        first = range[0].toUInt();
        last = range[1].toUInt();
    }
    for (const bool inWindow : {false, true}) {
        for (unsigned seed = first; seed <= last; ++seed)
            QTest::addRow("%s, seed %u", inWindow ? "window" : "bare", seed) << seed << inWindow;
    }
}

void LongTextDifferentialTest::seenAsInAPlainLineEdit()
{
    QFETCH(unsigned, seed);
    QFETCH(bool, inWindow);
    int longSteps = 0;
    const std::vector<Seen> painted = play(seed, inWindow, true, &longSteps);
    const std::vector<Seen> plain = play(seed, inWindow, false, nullptr);
    QString difference;
    for (size_t step = 0; step < painted.size() && difference.isEmpty(); ++step) {
        difference = painted[step].differenceFrom(plain[step]);
        if (!difference.isEmpty())
            difference =
                QStringLiteral("step %1, %2: %3").arg(step).arg(painted[step].action, difference);
    }
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    // The seed reached the painter's long mode, and left it, or it tested little.
    QVERIFY(longSteps > 0 && longSteps < steps);
}

// A field alone in a window of its own, in a font whose digits and blanks advance by whole
// pixels, with a second field for the focus to go to.
QLineEdit *LongTextDifferentialTest::makeBareFields(unsigned seed, bool painted)
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 100);
    m_window->setFont(QFont(QStringLiteral("Times New Roman"), 12));
    auto *edit = new QLineEdit(m_window.get());
    // Widths of 16 pixels in a row, so that the view's width is for some seeds a whole number
    // of characters, and a cursor can stop right on its edge.
    edit->setGeometry(0, 0, 160 + int(seed % 16), 27);
    edit->setMaxLength(std::numeric_limits<int>::max());
    m_elsewhere = new QLineEdit(m_window.get());
    m_elsewhere->setGeometry(0, 30, 169, 27);
    if (painted)
        new LongTextPainter(edit);
    return edit;
}

// The window's input field as the window makes it, or a plain QLineEdit in its place that takes
// its geometry and style and the window's font and palette; the focus goes to the explanation.
QLineEdit *LongTextDifferentialTest::makeWindowField(bool painted)
{
    m_window = std::make_unique<Pelmora>();
    auto *edit =
        m_window->findChild<QLineEdit *>(QStringLiteral("Text2_%1").arg(pelmora::decimalField));
    m_elsewhere = m_window->findChild<QWidget *>(QStringLiteral("Text1_0"));
    if (painted)
        return edit;
    auto *plain = new QLineEdit(edit->parentWidget());
    plain->setGeometry(edit->geometry());
    plain->setStyle(edit->style());
    plain->setMaxLength(edit->maxLength());
    edit->hide();
    return plain;
}

std::vector<Seen> LongTextDifferentialTest::play(unsigned seed, bool inWindow, bool painted,
                                                 int *longSteps)
{
    QLineEdit *edit = inWindow ? makeWindowField(painted) : makeBareFields(seed, painted);
    m_window->show();
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        qFatal("the window never became active");

    User user(seed);
    edit->setFocus();
    edit->setText(user.text(LongTextPainter::threshold));
    QCoreApplication::processEvents();
    std::vector<Seen> seen;
    for (int step = 0; step < steps; ++step) {
        const Action action = user.next(edit->width());
        act(edit, action);
        QCoreApplication::processEvents();
        seen.push_back(look(edit));
        seen.back().action = QStringLiteral("action %1 (%2, %3, %4 characters) on a text of %5")
                                 .arg(action.kind)
                                 .arg(action.a)
                                 .arg(action.b)
                                 .arg(action.text.size())
                                 .arg(edit->text().size());
        if (longSteps != nullptr)
            *longSteps += paintedByThePainter(edit);
    }
    return seen;
}

void LongTextDifferentialTest::act(QLineEdit *edit, const Action &action)
{
    const QPoint at(action.a, edit->height() / 2);
    const QPoint to(action.b, edit->height() / 2);
    QApplication::clipboard()->clear();
    // Keys reach only the field with the focus, and a press gives a field the focus before it
    // reaches it: a user who left the field comes back by Tab or by the mouse.
    const bool byProgram =
        action.kind == 11 || action.kind == 12 || action.kind == 14 || action.kind == 15;
    const bool byMouse = (action.kind >= 3 && action.kind <= 7) || action.kind == 17;
    if (!edit->hasFocus() && !byProgram)
        edit->setFocus(byMouse ? Qt::MouseFocusReason : Qt::TabFocusReason);
    switch (action.kind) {
    case 0:
        QTest::keyClick(edit, char(action.a));
        break;
    case 1:
    case 2:
        for (int times = action.kind == 1 ? 1 : action.b; times > 0; --times)
            QTest::keySequence(edit, User::keys()[action.a]);
        break;
    case 3:
        QTest::mouseClick(edit, Qt::LeftButton, {}, at);
        break;
    case 4:
        QTest::mouseClick(edit, Qt::LeftButton, Qt::ShiftModifier, at);
        break;
    case 5: // a double click as QTest gives it to a widget: the double-click event alone
        QTest::mouseDClick(edit, Qt::LeftButton, {}, at);
        break;
    case 17: // a double click as a platform gives it: press, release, press, double click, release
        QTest::mousePress(edit, Qt::LeftButton, {}, at);
        QTest::mouseRelease(edit, Qt::LeftButton, {}, at);
        QTest::mousePress(edit, Qt::LeftButton, {}, at);
        QTest::mouseDClick(edit, Qt::LeftButton, {}, at);
        QTest::mouseRelease(edit, Qt::LeftButton, {}, at);
        break;
    case 6: // a triple click, or a third click after a double click
        QTest::mouseDClick(edit, Qt::LeftButton, {}, at);
        QTest::mouseClick(edit, Qt::LeftButton, {}, at);
        break;
    case 7: // a drag, by way of a second place
        QTest::mousePress(edit, Qt::LeftButton, {}, at);
        QTest::mouseMove(edit, to);
        QTest::mouseMove(edit, (at + to) / 2);
        QTest::mouseRelease(edit, Qt::LeftButton, {}, (at + to) / 2);
        break;
    case 8:
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        break;
    case 9:
        QApplication::clipboard()->setText(action.text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        break;
    case 10: // the focus goes elsewhere, by Tab, to another window or otherwise, and comes back
        if (action.a % 3 == 0) {
            QTest::keyClick(edit, Qt::Key_Tab);
        } else if (action.a % 3 == 1) {
            m_elsewhere->setFocus();
        } else {
            QWidget other;
            other.show();
            other.activateWindow();
            if (!QTest::qWaitForWindowActive(&other))
                qFatal("the other window never became active");
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        m_window->activateWindow();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            qFatal("the window never became active again");
        edit->setFocus(Qt::MouseFocusReason);
        break;
    case 11:
        m_elsewhere->setFocus();
        break;
    case 12:
        edit->setText(action.text);
        break;
    case 14: // the program makes the field read-only, or editable again
        edit->setReadOnly(!edit->isReadOnly());
        break;
    case 15: // the window is resized, and the field with it, to an odd spare height too
        edit->resize(std::clamp(edit->width() + action.a % 17, 150, 200), 25 + action.b % 8);
        break;
    case 16: {
        const qsizetype threshold = LongTextPainter::threshold;
        const qsizetype target = edit->text().size() >= threshold ? threshold - 1 : threshold;
        // Typed or deleted key by key, so only from near the threshold.
        if (edit->isReadOnly() || std::abs(edit->text().size() - target) > 60)
            break;
        QTest::keyClick(edit, Qt::Key_End);
        for (int left = 0; left < action.a; ++left)
            QTest::keyClick(edit, Qt::Key_Left);
        while (edit->text().size() > target && edit->cursorPosition() > 0)
            QTest::keyClick(edit, Qt::Key_Backspace);
        while (edit->text().size() < target)
            QTest::keyClick(edit, Qt::Key_5);
        break;
    }
    case 13: // a click back into the field after a look from elsewhere
        m_elsewhere->setFocus();
        QCoreApplication::processEvents();
        edit->setFocus(Qt::MouseFocusReason);
        QTest::mouseClick(edit, Qt::LeftButton, {}, at);
        break;
    }
}

Seen LongTextDifferentialTest::look(QLineEdit *edit)
{
    Seen seen;
    seen.text = edit->text();
    seen.cursorAndSelection = {edit->cursorPosition(), edit->selectionStart(),
                               edit->selectionLength()};
    seen.clipboard = QApplication::clipboard()->text();
    seen.pixels = edit->grab().toImage();
    QInputMethodQueryEvent query(Qt::ImCursorRectangle); // as an input method asks
    QCoreApplication::sendEvent(edit, &query);
    seen.caret = query.value(Qt::ImCursorRectangle).toRect();
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(edit)->textInterface();
    const int cursor = edit->cursorPosition();
    for (int offset = cursor - 3; offset <= cursor + 3; ++offset)
        seen.characters.append(text->characterRect(offset));
    for (const int x : {3, 60, 120, 165})
        seen.offsetsAtPoints.append(
            text->offsetAtPoint(edit->mapToGlobal(QPoint(x, edit->height() / 2))));
    return seen;
}

QTEST_MAIN(LongTextDifferentialTest)
#include "long_text_differential_test.moc"
