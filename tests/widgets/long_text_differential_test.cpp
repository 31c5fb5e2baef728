// The same random user, seed by seed, on a field with a long-text painter and on a plain
// QLineEdit of the same size and font: after every step both must hold the same text, cursor
// and selection, copy the same text, show the same pixels, and tell input methods and screen
// readers the same places. The texts hover around the length at which the painter takes over,
// so that they cross it both ways, and hold digits, blanks, line breaks and control characters,
// all of which advance by whole pixels in this font, so the pixels must agree exactly. The digit
// 1 is left out: this font kerns "11", which a long text is laid out without.
//
// PELMORA_SEEDS=first-last picks the seeds (1-8 by default); a failure names the seed and the
// step, and PELMORA_SEEDS=n-n replays that seed alone.
#include "widgets/accessibility.h"
#include "widgets/long_text_painter.h"

#include <QAccessible>
#include <QClipboard>
#include <QLineEdit>
#include <QStyleHints>
#include <QtTest>

#include <limits>
#include <memory>
#include <random>

using widgets::LongTextPainter;

namespace {

constexpr int steps = 120;

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
        if (text != plain.text)
            return QStringLiteral("text (length %1, plain %2)")
                .arg(text.size())
                .arg(plain.text.size());
        if (cursorAndSelection != plain.cursorAndSelection)
            return QStringLiteral("cursor, selection start and length %1 %2 %3, plain %4 %5 %6")
                .arg(cursorAndSelection[0])
                .arg(cursorAndSelection[1])
                .arg(cursorAndSelection[2])
                .arg(plain.cursorAndSelection[0])
                .arg(plain.cursorAndSelection[1])
                .arg(plain.cursorAndSelection[2]);
        if (clipboard != plain.clipboard)
            return QStringLiteral("copied text");
        if (caret != plain.caret)
            return QStringLiteral("caret rectangle x %1, plain %2")
                .arg(caret.x())
                .arg(plain.caret.x());
        for (qsizetype i = 0; i < characters.size(); ++i) {
            if (characters[i] != plain.characters[i])
                return QStringLiteral(
                           "rectangle of the character %1 from the cursor: x %2, plain %3")
                    .arg(i - 3)
                    .arg(characters[i].x())
                    .arg(plain.characters[i].x());
        }
        for (qsizetype i = 0; i < offsetsAtPoints.size(); ++i) {
            if (offsetsAtPoints[i] != plain.offsetsAtPoints[i])
                return QStringLiteral("offset at the point %1: %2, plain %3")
                    .arg(i)
                    .arg(offsetsAtPoints[i])
                    .arg(plain.offsetsAtPoints[i]);
        }
        if (pixels != plain.pixels) {
            int first = pixels.width();
            int last = -1;
            for (int y = 0; y < std::min(pixels.height(), plain.pixels.height()); ++y) {
                for (int x = 0; x < std::min(pixels.width(), plain.pixels.width()); ++x) {
                    if (pixels.pixel(x, y) != plain.pixels.pixel(x, y)) {
                        first = std::min(first, x);
                        last = std::max(last, x);
                    }
                }
            }
            return QStringLiteral("pixels in columns %1 to %2").arg(first).arg(last);
        }
        return {};
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
        const int kind = pick(14);
        switch (kind) {
        case 0: // a typed digit or blank
            return {kind, QStringLiteral("023456789 ").at(pick(10)).unicode(), 0, {}};
        case 1: // a key
        case 2: // a key held down
            return {kind, pick(int(std::size(keys))), 5 + pick(36), {}};
        case 9: // a paste of a short piece or of enough to cross the threshold
            return {kind, 0, 0, text(pick(3) == 0 ? LongTextPainter::threshold / 2 : 20)};
        case 12: // a new text from the program
            return {kind, 0, 0, text(LongTextPainter::threshold)};
        default: // the pointer: two places, a little beyond the field's edges too
            return {kind, pick(width + 20) - 10, pick(width + 20) - 10, {}};
        }
    }

    struct Key
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    static constexpr Key keys[] = {
        {Qt::Key_Home, Qt::NoModifier},
        {Qt::Key_End, Qt::NoModifier},
        {Qt::Key_Left, Qt::NoModifier},
        {Qt::Key_Right, Qt::NoModifier},
        {Qt::Key_Left, Qt::ShiftModifier},
        {Qt::Key_Right, Qt::ShiftModifier},
        {Qt::Key_Home, Qt::ShiftModifier},
        {Qt::Key_End, Qt::ShiftModifier},
        {Qt::Key_Left, Qt::ControlModifier},
        {Qt::Key_Right, Qt::ControlModifier},
        {Qt::Key_Backspace, Qt::NoModifier},
        {Qt::Key_Delete, Qt::NoModifier},
        {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
    };

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
    std::vector<Seen> play(unsigned seed, bool painted, int *longSteps);
    void act(QLineEdit *edit, const Action &action);
    Seen look(QLineEdit *edit);

    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_elsewhere = nullptr;
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
    unsigned first = 1;
    unsigned last = 8;
    const QStringList range = qEnvironmentVariable("PELMORA_SEEDS").split(u'-');
    if (range.size() == 2) {
        first = range[0].toUInt();
        last = range[1].toUInt();
    }
    for (unsigned seed = first; seed <= last; ++seed)
        QTest::addRow("seed %u", seed) << seed;
}

void LongTextDifferentialTest::seenAsInAPlainLineEdit()
{
    QFETCH(unsigned, seed);
    int longSteps = 0;
    const std::vector<Seen> painted = play(seed, true, &longSteps);
    const std::vector<Seen> plain = play(seed, false, nullptr);
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

std::vector<Seen> LongTextDifferentialTest::play(unsigned seed, bool painted, int *longSteps)
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 100);
    // A font whose digits and blanks advance by whole pixels.
    m_window->setFont(QFont(QStringLiteral("Times New Roman"), 12));
    auto *edit = new QLineEdit(m_window.get());
    edit->setGeometry(0, 0, 169, 27);
    edit->setMaxLength(std::numeric_limits<int>::max());
    m_elsewhere = new QLineEdit(m_window.get());
    m_elsewhere->setGeometry(0, 30, 169, 27);
    if (painted)
        new LongTextPainter(edit);
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
    if (!edit->hasFocus() && action.kind != 11 && action.kind != 12)
        edit->setFocus(action.kind >= 3 && action.kind <= 7 ? Qt::MouseFocusReason
                                                            : Qt::TabFocusReason);
    switch (action.kind) {
    case 0:
        QTest::keyClick(edit, char(action.a));
        break;
    case 1:
    case 2:
        for (int times = action.kind == 1 ? 1 : action.b; times > 0; --times)
            QTest::keyClick(edit, User::keys[action.a].key, User::keys[action.a].modifiers);
        break;
    case 3:
        QTest::mouseClick(edit, Qt::LeftButton, {}, at);
        break;
    case 4:
        QTest::mouseClick(edit, Qt::LeftButton, Qt::ShiftModifier, at);
        break;
    case 5:
        QTest::mouseDClick(edit, Qt::LeftButton, {}, at);
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
    case 10: // the focus goes elsewhere, by Tab or otherwise, and comes back
        if (action.a % 2 == 0)
            QTest::keyClick(edit, Qt::Key_Tab);
        else
            m_elsewhere->setFocus();
        QCoreApplication::processEvents();
        edit->setFocus(Qt::MouseFocusReason);
        break;
    case 11:
        m_elsewhere->setFocus();
        break;
    case 12:
        edit->setText(action.text);
        break;
    default: // a click back into the field after a look from elsewhere
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
