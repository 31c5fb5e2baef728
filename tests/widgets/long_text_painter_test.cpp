// A field holding a text too long for QLineEdit's own painting looks and answers the mouse as
// a plain QLineEdit does, tells of finished editing as it does, and still reads and copies the
// whole text.
#include "widgets/long_text_painter.h"

#include <QClipboard>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStyleHints>
#include <QtTest>

#include <limits>
#include <memory>

using widgets::LongTextPainter;

namespace {

// Digits only: their widths are whole pixels, so both paintings agree to the pixel.
QString longDigits()
{
    QString text;
    while (text.size() < LongTextPainter::threshold + 100)
        text += QStringLiteral("0123456789");
    return text;
}

// One letter a key: h Home, e End, l Left, r Right, L and R the same with Shift, x Backspace,
// d Delete, a Ctrl+A.
void press(QLineEdit *edit, const QString &keys)
{
    for (const QChar key : keys) {
        switch (key.unicode()) {
        case u'h':
            QTest::keyClick(edit, Qt::Key_Home);
            break;
        case u'e':
            QTest::keyClick(edit, Qt::Key_End);
            break;
        case u'l':
            QTest::keyClick(edit, Qt::Key_Left);
            break;
        case u'r':
            QTest::keyClick(edit, Qt::Key_Right);
            break;
        case u'L':
            QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
            break;
        case u'R':
            QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
            break;
        case u'x':
            QTest::keyClick(edit, Qt::Key_Backspace);
            break;
        case u'd':
            QTest::keyClick(edit, Qt::Key_Delete);
            break;
        case u'a':
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            break;
        default:
            qFatal("no key for %c", char(key.unicode()));
        }
    }
}

bool paintedByThePainter(const QLineEdit *edit)
{
    const auto *painter = edit->findChild<LongTextPainter *>();
    return painter != nullptr && painter->isLong();
}

// Puts the text on the clipboard and pastes it over what the field holds.
void paste(QLineEdit *edit, const QString &text)
{
    QApplication::clipboard()->setText(text);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

QString repeated(int times, QChar key)
{
    return QString(times, key);
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

class LongTextTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void looksAsQLineEditDoes_data();
    void looksAsQLineEditDoes();
    void clickLandsWhereQLineEditPutsIt_data();
    void clickLandsWhereQLineEditPutsIt();
    void copiesTheWholeText();
    void leftFieldShowsNoCursorOnceShortAgain();
    void blinkingCursorIsRepainted();
    void shortTextAfterALongOneLooksAsBefore();
    void editingFinishedAsQLineEditTellsIt_data();
    void blanksStandInForControlCharacters_data();
    void blanksStandInForControlCharacters();
    void doubleClickSelectsAsQLineEditDoes_data();
    void doubleClickSelectsAsQLineEditDoes();
    void undoAfterAMouseSelectionAsQLineEdit();
    void editingFinishedAsQLineEditTellsIt();

private:
    // Gives the line edit the focus, the long text and the keys, one key at a time, letting it
    // repaint in between as a user's screen would.
    void drive(QLineEdit *edit, const QString &keys);

    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_field = nullptr;     // with a long-text painter
    QLineEdit *m_plain = nullptr;     // a plain QLineEdit beside it, painted by Qt alone
    QLineEdit *m_elsewhere = nullptr; // where the focus goes when it leaves them
};

void LongTextTest::init()
{
    // A warning from the painter means that it cannot work as meant in this Qt.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    m_window = std::make_unique<QWidget>();
    m_window->resize(400, 100);
    // A font whose digits advance by whole pixels, so that both paintings agree to the pixel.
    m_window->setFont(QFont(QStringLiteral("Times New Roman"), 12));
    m_field = new QLineEdit(m_window.get());
    m_plain = new QLineEdit(m_window.get());
    m_elsewhere = new QLineEdit(m_window.get());
    int top = 0;
    for (QLineEdit *edit : {m_field, m_plain, m_elsewhere}) {
        edit->setGeometry(0, top, 169, 27);
        edit->setMaxLength(std::numeric_limits<int>::max());
        top += 30;
    }
    new LongTextPainter(m_field);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void LongTextTest::cleanup()
{
    m_window.reset();
}

void LongTextTest::drive(QLineEdit *edit, const QString &keys)
{
    edit->setFocus();
    edit->setText(longDigits());
    QCoreApplication::processEvents();
    for (const QChar key : keys) {
        press(edit, QString(key));
        QCoreApplication::processEvents();
    }
}

void LongTextTest::looksAsQLineEditDoes_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("focused");
    for (const bool focused : {false, true}) {
        const char *focus = focused ? "focused" : "unfocused";
        QTest::addRow("%s, cursor at the end", focus) << QString() << focused;
        QTest::addRow("%s, cursor at the start", focus) << QStringLiteral("h") << focused;
        QTest::addRow("%s, cursor run right past the view", focus)
            << QStringLiteral("h") + repeated(40, u'r') << focused;
        QTest::addRow("%s, cursor back inside the view", focus)
            << QStringLiteral("h") + repeated(40, u'r') + repeated(10, u'l') << focused;
        QTest::addRow("%s, cursor run left past the view", focus) << repeated(35, u'l') << focused;
        QTest::addRow("%s, selection from the end", focus) << repeated(7, u'L') << focused;
        QTest::addRow("%s, selection from the start", focus)
            << QStringLiteral("h") + repeated(5, u'R') << focused;
        QTest::addRow("%s, all selected", focus) << QStringLiteral("a") << focused;
        QTest::addRow("%s, end deleted back", focus) << repeated(24, u'x') << focused;
        QTest::addRow("%s, deleted back to the threshold", focus) << repeated(100, u'x') << focused;
        QTest::addRow("%s, deleted forward to short, the view kept", focus)
            << QStringLiteral("h") + repeated(40, u'r') + repeated(10, u'l') + repeated(101, u'd')
            << focused;
    }
}

void LongTextTest::looksAsQLineEditDoes()
{
    QFETCH(QString, keys);
    QFETCH(bool, focused);
    QImage shown[2];
    for (QLineEdit *edit : {m_field, m_plain}) {
        drive(edit, keys);
        // Without the focus the selection goes, as does the cursor.
        if (!focused)
            m_elsewhere->setFocus();
        shown[edit == m_plain] = edit->grab().toImage();
    }
    QCOMPARE(paintedByThePainter(m_field), m_field->text().size() >= LongTextPainter::threshold);
    QCOMPARE(shown[0], shown[1]);
}

void LongTextTest::clickLandsWhereQLineEditPutsIt_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("x");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    for (const int x : {4, 37, 90, 150}) {
        QTest::addRow("at the end, x %d", x) << QString() << x << Qt::KeyboardModifiers();
        QTest::addRow("scrolled in from the start, x %d", x)
            << QStringLiteral("h") + repeated(40, u'r') << x << Qt::KeyboardModifiers();
        QTest::addRow("Shift, scrolled in from the end, x %d", x)
            << repeated(35, u'l') << x << Qt::KeyboardModifiers(Qt::ShiftModifier);
    }
}

void LongTextTest::clickLandsWhereQLineEditPutsIt()
{
    QFETCH(QString, keys);
    QFETCH(int, x);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QList<int> seen[2];
    for (QLineEdit *edit : {m_field, m_plain}) {
        drive(edit, keys);
        QTest::mouseClick(edit, Qt::LeftButton, modifiers, QPoint(x, edit->height() / 2));
        seen[edit == m_plain] = {edit->cursorPosition(), edit->selectionStart(),
                                 edit->selectionLength()};
    }
    QVERIFY(paintedByThePainter(m_field));
    QCOMPARE(seen[0], seen[1]);
}

void LongTextTest::copiesTheWholeText()
{
    const QString text = QStringLiteral("5.") + QString(999'998, u'0');
    paste(m_field, text);
    QCOMPARE(m_field->text(), text);
    QApplication::clipboard()->clear();
    QTest::keyClick(m_field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_field, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), text);
}

// The focus leaves the field while its text is long, and the program then empties it: it must
// look as any field without the focus, with no cursor, over a whole blink of the cursor.
void LongTextTest::leftFieldShowsNoCursorOnceShortAgain()
{
    paste(m_field, QStringLiteral("5.") + QString(LongTextPainter::threshold, u'0'));
    m_elsewhere->setFocus();
    m_field->clear();
    m_plain->clear();
    const QImage plain = m_plain->grab().toImage();
    for (int look = 0; look < 2; ++look) {
        QCOMPARE(m_field->grab().toImage(), plain);
        QTest::qWait(QGuiApplication::styleHints()->cursorFlashTime() / 2 + 50);
    }
}

// The cursor of a focused field blinks: each half of the flash time the field is painted again,
// as QLineEdit paints it.
void LongTextTest::blinkingCursorIsRepainted()
{
    QStyleHints *hints = QGuiApplication::styleHints();
    const int flashTime = hints->cursorFlashTime();
    hints->setCursorFlashTime(200);
    paste(m_field, longDigits());
    QTest::keyClick(m_field, Qt::Key_Home);
    QCoreApplication::processEvents();
    const PaintCounter counter(m_field);
    QTest::qWait(450);
    hints->setCursorFlashTime(flashTime);
    QVERIFY(paintedByThePainter(m_field));
    QVERIFY2(counter.paints >= 3, qPrintable(QString::number(counter.paints)));
}

// A long text is laid out without kerning; a short one typed over it has its kerning back.
void LongTextTest::shortTextAfterALongOneLooksAsBefore()
{
    const QString text = QStringLiteral("AVAWAY To 7");
    paste(m_field, longDigits());
    QTest::keyClick(m_field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(m_field, text);
    const QImage field = m_field->grab().toImage();
    m_plain->setFocus();
    m_plain->setText(text);
    QCOMPARE(field, m_plain->grab().toImage());
}

void LongTextTest::editingFinishedAsQLineEditTellsIt_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("typed into") << QStringLiteral("5") << true;
    QTest::newRow("set by the program") << QString() << true;
    QTest::newRow("typed into, Enter") << QStringLiteral("5\r") << true;
    QTest::newRow("typed into, not yet acceptable") << QStringLiteral("5") << false;
}

// The focus leaves a long text that the user typed into, or that the program set, or after the
// user typed and pressed Enter, or that its validator does not accept yet: editingFinished comes
// as often as from a plain QLineEdit.
void LongTextTest::editingFinishedAsQLineEditTellsIt()
{
    QFETCH(QString, keys);
    QFETCH(bool, acceptable);
    int finished[2] = {};
    const QRegularExpressionValidator twentyThousandDigits(
        QRegularExpression(QStringLiteral("[0-9]{20000}")));
    for (QLineEdit *edit : {m_field, m_plain}) {
        if (!acceptable)
            edit->setValidator(&twentyThousandDigits);
        connect(edit, &QLineEdit::editingFinished, this,
                [&, edit] { ++finished[edit == m_plain]; });
        edit->setFocus();
        edit->setText(longDigits());
        QTest::keyClicks(edit, keys);
        m_elsewhere->setFocus();
    }
    QVERIFY(paintedByThePainter(m_field));
    QCOMPARE(finished[0], finished[1]);
}

void LongTextTest::blanksStandInForControlCharacters_data()
{
    QTest::addColumn<QString>("text");
    QString column;
    for (int n = 101'000; column.size() < LongTextPainter::threshold + 100; ++n)
        column += QString::number(n) + u'\n';
    QString separated;
    while (separated.size() < LongTextPainter::threshold + 100)
        separated += QStringLiteral("123456789") + QChar(QChar::LineSeparator);
    QTest::newRow("a pasted column of numbers") << column;
    QTest::newRow("a line separator every 10 characters") << separated;
    QTest::newRow("other control characters") << longDigits().replace(u'5', u'\x01');
}

// Characters that QLineEdit shows as blanks look the same in the painted field.
void LongTextTest::blanksStandInForControlCharacters()
{
    QFETCH(QString, text);
    m_elsewhere->setFocus();
    QImage shown[2];
    for (QLineEdit *edit : {m_field, m_plain}) {
        edit->setText(text);
        edit->home(false);
        QCoreApplication::processEvents();
        shown[edit == m_plain] = edit->grab().toImage();
    }
    QVERIFY(paintedByThePainter(m_field));
    QCOMPARE(shown[0], shown[1]);
}

void LongTextTest::doubleClickSelectsAsQLineEditDoes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("x");
    QTest::newRow("one number of 12,000 digits") << QString(12'000, u'7') << 80;
    QString words;
    while (words.size() < LongTextPainter::threshold + 100)
        words += QStringLiteral("12 345   ");
    QTest::newRow("words, on a word") << words << 20;
    QTest::newRow("words, on blanks") << words << 44;
}

// A double click selects one word of the whole text, however far it reaches, as QLineEdit does.
void LongTextTest::doubleClickSelectsAsQLineEditDoes()
{
    QFETCH(QString, text);
    QFETCH(int, x);
    QList<int> seen[2];
    for (QLineEdit *edit : {m_field, m_plain}) {
        edit->setFocus();
        edit->setText(text);
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::mouseDClick(edit, Qt::LeftButton, {}, QPoint(x, edit->height() / 2));
        seen[edit == m_plain] = {edit->selectionStart(), edit->selectionLength(),
                                 edit->cursorPosition()};
    }
    QVERIFY(paintedByThePainter(m_field));
    QCOMPARE(seen[0], seen[1]);
}

// Typing, then a drag from the cursor away and back, then typing again: undo takes back the
// second typing only, as in a plain QLineEdit.
void LongTextTest::undoAfterAMouseSelectionAsQLineEdit()
{
    QString texts[2];
    for (QLineEdit *edit : {m_field, m_plain}) {
        drive(edit, QString());
        QTest::keyClick(edit, Qt::Key_5);
        QInputMethodQueryEvent cursor(Qt::ImCursorRectangle); // as an input method asks
        QCoreApplication::sendEvent(edit, &cursor);
        const QPoint from = cursor.value(Qt::ImCursorRectangle).toRect().center();
        QTest::mousePress(edit, Qt::LeftButton, {}, from);
        QTest::mouseMove(edit, from - QPoint(60, 0));
        QTest::mouseMove(edit, from);
        QTest::mouseRelease(edit, Qt::LeftButton, {}, from);
        QTest::keyClick(edit, Qt::Key_9);
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        texts[edit == m_plain] = edit->text();
    }
    QVERIFY(paintedByThePainter(m_field));
    QCOMPARE(texts[0], texts[1]);
}

QTEST_MAIN(LongTextTest)
#include "long_text_painter_test.moc"
