// A field holding a text too long for QLineEdit's own painting looks and answers the mouse as
// a plain QLineEdit does, and still reads and copies the whole text.
#include "widgets/long_text_painter.h"
#include "form/pelmora.h"
#include "tests/support/window_driver.h"

#include <QStyleHints>
#include <QtTest>

#include <memory>

using pelmora::test::WindowDriver;
using namespace pelmora;

namespace {

// Digits only: their widths are whole pixels, so both paintings agree to the pixel.
QString longDigits()
{
    QString text;
    while (text.size() < pelmora::LongTextView::threshold + 100)
        text += QStringLiteral("0123456789");
    return text;
}

// One letter a key: h Home, e End, l Left, r Right, L and R the same with Shift, x Backspace,
// a Ctrl+A.
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
        case u'a':
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            break;
        default:
            qFatal("no key for %c", char(key.unicode()));
        }
    }
}

bool paintedByTheView(const QLineEdit *edit)
{
    for (const QObject *child : edit->children()) {
        if (const auto *view = dynamic_cast<const pelmora::LongTextView *>(child))
            return view->isLong();
    }
    return false;
}

QString repeated(int times, QChar key)
{
    return QString(times, key);
}

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
    void shortTextAfterALongOneLooksAsBefore();

private:
    // Gives the line edit the focus, the long text and the keys, one key at a time, letting it
    // repaint in between as a user's screen would.
    void drive(QLineEdit *edit, const QString &keys);

    std::unique_ptr<Pelmora> m_window;
    std::unique_ptr<WindowDriver> m_driver;
    QLineEdit *m_field = nullptr; // the window's decimal field, with the long-text view
    QLineEdit *m_plain = nullptr; // a plain QLineEdit beside it, painted by Qt alone
};

void LongTextTest::init()
{
    m_window = std::make_unique<Pelmora>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_driver = std::make_unique<WindowDriver>(m_window.get());
    m_field = m_driver->field(decimalField);
    m_plain = new QLineEdit(m_window.get());
    m_plain->setGeometry(QRect(QPoint(0, 0), m_field->size()));
    m_plain->setFont(m_field->font());
    m_plain->setPalette(m_field->palette());
    m_plain->setStyle(m_field->style());
    m_plain->setMaxLength(m_field->maxLength());
    m_plain->show();
}

void LongTextTest::cleanup()
{
    m_driver.reset();
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
            m_driver->control<QWidget>(QStringLiteral("Text1_0"))->setFocus();
        shown[edit == m_plain] = edit->grab().toImage();
    }
    QVERIFY(paintedByTheView(m_field));
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
    QVERIFY(paintedByTheView(m_field));
    QCOMPARE(seen[0], seen[1]);
}

void LongTextTest::copiesTheWholeText()
{
    const QString text = QStringLiteral("5.") + QString(999'998, u'0');
    m_driver->paste(decimalField, text);
    QCOMPARE(m_field->text(), text);
    QApplication::clipboard()->clear();
    QTest::keyClick(m_field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_field, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), text);
}

// The focus leaves the field while its text is long, and Clear then empties it: it must look as
// any field without the focus, with no cursor, over a whole blink of the cursor.
void LongTextTest::leftFieldShowsNoCursorOnceShortAgain()
{
    m_driver->paste(decimalField,
                    QStringLiteral("5.") + QString(pelmora::LongTextView::threshold, u'0'));
    m_driver->calculate();
    m_driver->clear();
    QVERIFY(m_field->text().isEmpty());
    m_plain->clear();
    m_driver->command(clearCommand)->setFocus();
    const QImage plain = m_plain->grab().toImage();
    for (int look = 0; look < 2; ++look) {
        QCOMPARE(m_field->grab().toImage(), plain);
        QTest::qWait(QGuiApplication::styleHints()->cursorFlashTime() / 2 + 50);
    }
}

// A long text is laid out without kerning; a short one typed over it has its kerning back.
void LongTextTest::shortTextAfterALongOneLooksAsBefore()
{
    const QString text = QStringLiteral("AVAWAY To 7");
    m_driver->paste(decimalField, longDigits());
    m_driver->type(decimalField, text);
    const QImage field = m_field->grab().toImage();
    m_plain->setFocus();
    m_plain->setText(text);
    QCOMPARE(field, m_plain->grab().toImage());
}

QTEST_MAIN(LongTextTest)
#include "long_text_painter_test.moc"
