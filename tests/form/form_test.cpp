// The window driven as a user drives it: every check goes through clicks and key presses and
// looks at what the controls show.
#include "form/pelmora.h"
#include "tests/support/locale_guard.h"
#include "tests/support/window_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include <memory>

using pelmora::test::closeMessageDuring;
using pelmora::test::WindowDriver;
using namespace pelmora;

namespace {

const QString remark = QStringLiteral("Променя се в цикъл");
const QString ones31(31, u'1');
const QStringList emptyFields(fieldCount, QString());
const QList<bool> decimalFlags{true, true, true, true, false};
const QList<bool> grayFlags{false, true, true, true, true};

// Per direction (an index of Option1): the field the user types into, the
// field that shows the other number, and which fields are enabled.
int inputField(int direction)
{
    return direction == decimalToGrayOption ? decimalField : decimalGrayField;
}
int resultField(int direction)
{
    return direction == decimalToGrayOption ? decimalGrayField : decimalField;
}
const QList<bool> &enabledFlagsFor(int direction)
{
    return direction == decimalToGrayOption ? decimalFlags : grayFlags;
}

} // namespace

class FormTest : public pelmora::test::WindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsHaveTheirKindsAndNames();
    void fieldsAreNamedByTheirLabels();
    void startsClearedInTheDecimalDirection();
    void decimalToGray_data();
    void decimalToGray();
    void grayToDecimal_data();
    void grayToDecimal();
    void grayToDecimalShowsARealWithTheLocaleSeparator();
    void choosingTheOtherDirectionEmptiesAndSwapsTheInput();
    void choosingTheChosenDirectionAgainKeepsTheResults();
    void directionCanBeChosenWithTheKeyboard();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void enterInAFieldChangesNothing();
    void buttonsActWhenLetGoOverThem();
    void typingIntoTheDisabledFieldChangesNothing();
    void noNumberKeepsEarlierResults_data();
    void noNumberKeepsEarlierResults();
    void calculatingTwiceGivesTheSameResults();
    void clearKeepsTheDirection_data();
    void clearKeepsTheDirection();
    void overflowIsReportedAndChangesNothing_data();
    void overflowIsReportedAndChangesNothing();
    void pastedMillionCharacters_data();
    void pastedMillionCharacters();

private:
    void chooseDirection(int option);
};

void FormTest::init()
{
    QVERIFY(openWindow());
}

void FormTest::cleanup()
{
    closeWindow();
}

void FormTest::chooseDirection(int option)
{
    m_driver->choose(option);
    QVERIFY(m_driver->option(option)->isChecked());
}

void FormTest::controlsHaveTheirKindsAndNames()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("Pelmora"));
    // The driver stops the whole run on a missing control; looking the controls up here lets
    // one that is missing or of another kind fail this test with its name.
    for (int i = 0; i < fieldCount; ++i) {
        const QString name = QStringLiteral("Text2_%1").arg(i);
        QVERIFY2(m_window->findChild<QLineEdit *>(name) != nullptr, qPrintable(name));
    }
    for (int i = 0; i < 6; ++i) {
        const QString name = QStringLiteral("Label1_%1").arg(i);
        QVERIFY2(m_window->findChild<QLabel *>(name) != nullptr, qPrintable(name));
    }
    for (int i = 1; i <= 3; ++i)
        QVERIFY2(m_driver->field(i)->isReadOnly(), qPrintable(QString::number(i)));
    QVERIFY(!m_driver->field(decimalField)->isReadOnly());
    QVERIFY(!m_driver->field(decimalGrayField)->isReadOnly());
    for (int i = 0; i < 2; ++i) {
        QVERIFY(m_driver->control<QPlainTextEdit>(QStringLiteral("Text1_%1").arg(i))->isReadOnly());
        QCOMPARE(m_driver->option(i)->parentWidget(),
                 m_driver->control<QGroupBox>(QStringLiteral("Frame1")));
    }
    QCOMPARE(m_driver->command(calculateCommand)->text(), QStringLiteral("Изчисли"));
    QCOMPARE(m_driver->command(clearCommand)->text(), QStringLiteral("Изчисти"));
    QCOMPARE(m_driver->option(decimalToGrayOption)->text(), QStringLiteral("Десетично в Грей"));
    QCOMPARE(m_driver->option(grayToDecimalOption)->text(), QStringLiteral("Грей в десетично"));
    m_driver->control<QLabel>(QStringLiteral("Picture1"));
}

void FormTest::fieldsAreNamedByTheirLabels()
{
    const QStringList names{QStringLiteral("Десетично число"), QStringLiteral("Двоично число"),
                            QStringLiteral("Преместване"), QStringLiteral("Двоично Грей"),
                            QStringLiteral("Десетично Грей")};
    for (int i = 0; i < fieldCount; ++i) {
        auto *label = m_driver->control<QLabel>(QStringLiteral("Label1_%1").arg(i + 1));
        QCOMPARE(label->buddy(), m_driver->field(i));
        QCOMPARE(m_driver->field(i)->accessibleName(), names[i]);
    }
}

void FormTest::startsClearedInTheDecimalDirection()
{
    QCOMPARE(m_driver->texts(), emptyFields);
    QCOMPARE(m_driver->enabledFlags(), decimalFlags);
    QVERIFY(m_driver->option(decimalToGrayOption)->isChecked());
    QVERIFY(!m_driver->option(grayToDecimalOption)->isChecked());
}

void FormTest::decimalToGray_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("5") << "5" << QStringList{"101", "010", "111", "7"};
    QTest::newRow("1") << "1" << QStringList{"1", "0", "1", "1"};
    QTest::newRow("6") << "6" << QStringList{"110", "011", "101", "5"};
    QTest::newRow("-6") << "-6" << QStringList{"110", "011", "101", "5"};
    QTest::newRow("2.5") << "2.5" << QStringList{"10", "01", "11", "3"};
    QTest::newRow("1000") << "1000" << QStringList{"1111101000", "0111110100", "1000011100", "540"};
    QTest::newRow("2147483647") << "2147483647"
                                << QStringList{ones31, u'0' + QString(30, u'1'),
                                               u'1' + QString(30, u'0'), "1073741824"};
}

void FormTest::decimalToGray()
{
    QFETCH(QString, input);
    QFETCH(QStringList, results);
    m_driver->type(decimalField, input);
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), QStringList{input} + results);
    QCOMPARE(m_driver->enabledFlags(), decimalFlags);
}

void FormTest::grayToDecimal_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("results");
    QTest::newRow("7") << "7" << QStringList{"5", "101", remark, "111"};
    QTest::newRow("1") << "1" << QStringList{"1", "1", remark, "1"};
    QTest::newRow("3") << "3" << QStringList{"2", "10", remark, "11"};
    QTest::newRow("-7") << "-7" << QStringList{"5", "101", remark, "111"};
    QTest::newRow("2.5") << "2.5" << QStringList{"3", "11", remark, "10"};
    QTest::newRow("1.5") << "1.5" << QStringList{"3", "11", remark, "10"};
    QTest::newRow("1.25") << "1.25" << QStringList{"1.25", "1", remark, "1"};
    QTest::newRow("540") << "540" << QStringList{"1000", "1111101000", remark, "1000011100"};
    QTest::newRow("2147483647") << "2147483647"
                                << QStringList{"1431655765", "1010101010101010101010101010101",
                                               remark, ones31};
}

void FormTest::grayToDecimal()
{
    QFETCH(QString, input);
    QFETCH(QStringList, results);
    chooseDirection(grayToDecimalOption);
    m_driver->type(decimalGrayField, input);
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), results + QStringList{input});
    QCOMPARE(m_driver->enabledFlags(), grayFlags);
}

void FormTest::grayToDecimalShowsARealWithTheLocaleSeparator()
{
    pelmora::test::NumericLocale bulgarian(pelmora::test::bulgarian);
    QVERIFY2(bulgarian.active(), "the Bulgarian locale is missing: run tools/install-deps");
    chooseDirection(grayToDecimalOption);
    m_driver->type(decimalGrayField, QStringLiteral("1.25"));
    m_driver->calculate();
    QCOMPARE(m_driver->field(decimalField)->text(), QStringLiteral("1,25"));
}

void FormTest::choosingTheOtherDirectionEmptiesAndSwapsTheInput()
{
    m_driver->type(decimalField, QStringLiteral("5"));
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), (QStringList{"5", "101", "010", "111", "7"}));

    chooseDirection(grayToDecimalOption);
    QCOMPARE(m_driver->texts(), emptyFields);
    QCOMPARE(m_driver->enabledFlags(), grayFlags);

    m_driver->type(decimalGrayField, QStringLiteral("7"));
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), (QStringList{"5", "101", remark, "111", "7"}));

    chooseDirection(decimalToGrayOption);
    QCOMPARE(m_driver->texts(), emptyFields);
    QCOMPARE(m_driver->enabledFlags(), decimalFlags);
}

void FormTest::choosingTheChosenDirectionAgainKeepsTheResults()
{
    m_driver->type(decimalField, QStringLiteral("6"));
    m_driver->calculate();
    const QStringList shown = m_driver->texts();
    chooseDirection(decimalToGrayOption);
    QCOMPARE(m_driver->texts(), shown);
}

void FormTest::directionCanBeChosenWithTheKeyboard()
{
    m_driver->type(decimalField, QStringLiteral("5"));
    m_driver->calculate();

    m_driver->option(decimalToGrayOption)->setFocus();
    QTest::keyClick(m_driver->option(decimalToGrayOption), Qt::Key_Down);
    QVERIFY(m_driver->option(grayToDecimalOption)->isChecked());
    QCOMPARE(m_driver->texts(), emptyFields);
    QCOMPARE(m_driver->enabledFlags(), grayFlags);

    QTest::keyClick(m_driver->option(grayToDecimalOption), Qt::Key_Up);
    QVERIFY(m_driver->option(decimalToGrayOption)->isChecked());
    QCOMPARE(m_driver->enabledFlags(), decimalFlags);

    // Space on a focused button that is not chosen chooses it.
    m_driver->option(grayToDecimalOption)->setFocus();
    QTest::keyClick(m_driver->option(grayToDecimalOption), Qt::Key_Space);
    QVERIFY(m_driver->option(grayToDecimalOption)->isChecked());
    QCOMPARE(m_driver->enabledFlags(), grayFlags);
}

void FormTest::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<bool>("held"); // the key repeats before it is let go
    QTest::addColumn<int>("presses");
    for (int button : {0, 1}) {
        const char *name = button == 0 ? "calculate" : "clear";
        QTest::addRow("%s, Enter", name)
            << button << int(Qt::Key_Return) << Qt::KeyboardModifiers() << false << 1;
        QTest::addRow("%s, keypad Enter", name)
            << button << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << false
            << 1;
        QTest::addRow("%s, Enter held down", name)
            << button << int(Qt::Key_Return) << Qt::KeyboardModifiers() << true << 1;
        QTest::addRow("%s, Shift+Enter", name)
            << button << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier) << false
            << 0;
        QTest::addRow("%s, Ctrl+keypad Enter", name)
            << button << int(Qt::Key_Enter)
            << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::KeypadModifier) << false << 0;
    }
}

void FormTest::enterPressesTheFocusedButton()
{
    QFETCH(int, button);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(bool, held);
    QFETCH(int, presses);
    m_driver->type(decimalField, QStringLiteral("5"));
    if (button == 1)
        m_driver->calculate();
    const QStringList pressedTexts =
        button == 0 ? QStringList{"5", "101", "010", "111", "7"} : emptyFields;
    const QStringList expected = presses > 0 ? pressedTexts : m_driver->texts();

    QPushButton *pressed = m_driver->command(button);
    pressed->setFocus();
    QSignalSpy clicks(pressed, &QAbstractButton::clicked);
    // The button acts as the key goes down, and the key it took goes no further (to the window).
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(pressed, &press);
    const bool taken = press.isAccepted();
    QCOMPARE(clicks.count(), presses);
    QCOMPARE(taken, presses > 0);
    for (int repeat = 0; held && repeat < 3; ++repeat) {
        QKeyEvent again(QEvent::KeyPress, key, modifiers, QString(), true);
        QApplication::sendEvent(pressed, &again);
    }
    QTest::keyRelease(pressed, Qt::Key(key), modifiers);
    QCOMPARE(clicks.count(), presses);
    QCOMPARE(m_driver->texts(), expected);
    QCOMPARE(m_driver->enabledFlags(), decimalFlags);
}

void FormTest::enterInAFieldChangesNothing()
{
    m_driver->type(decimalField, QStringLiteral("5"));
    QTest::keyClick(m_driver->field(decimalField), Qt::Key_Return);
    QTest::keyClick(m_driver->field(decimalField), Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(m_driver->texts(), (QStringList{"5", "", "", "", ""}));
    QVERIFY(m_driver->field(decimalField)->hasFocus());
}

// A pressed button acts when the mouse is let go over it; let go elsewhere, it does nothing.
void FormTest::buttonsActWhenLetGoOverThem()
{
    m_driver->type(decimalField, QStringLiteral("5"));
    QPushButton *calculate = m_driver->command(calculateCommand);
    const QStringList typed{"5", "", "", "", ""};
    QTest::mousePress(calculate, Qt::LeftButton);
    QCOMPARE(m_driver->texts(), typed);
    QTest::mouseRelease(calculate, Qt::LeftButton, {}, QPoint(-10, -10));
    QCOMPARE(m_driver->texts(), typed);
    QTest::mousePress(calculate, Qt::LeftButton);
    QTest::mouseRelease(calculate, Qt::LeftButton);
    QCOMPARE(m_driver->texts(), (QStringList{"5", "101", "010", "111", "7"}));
}

void FormTest::typingIntoTheDisabledFieldChangesNothing()
{
    QTest::keyClicks(m_driver->field(decimalGrayField), QStringLiteral("7"));
    QTest::mouseClick(m_driver->field(decimalGrayField), Qt::LeftButton);
    QTest::keyClicks(m_driver->field(decimalGrayField), QStringLiteral("7"));
    QCOMPARE(m_driver->texts(), emptyFields);

    chooseDirection(grayToDecimalOption);
    QTest::keyClicks(m_driver->field(decimalField), QStringLiteral("5"));
    QCOMPARE(m_driver->texts(), emptyFields);
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), emptyFields);
}

void FormTest::noNumberKeepsEarlierResults_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    for (int direction : {decimalToGrayOption, grayToDecimalOption}) {
        for (const char *input : {"", "0", "abc", "0.4", "-0.4"}) {
            QTest::addRow("%s '%s'", direction == decimalToGrayOption ? "decimal" : "gray", input)
                << direction << QString::fromUtf8(input);
        }
    }
    QTest::newRow("gray '0.6'") << grayToDecimalOption << QStringLiteral("0.6");
}

void FormTest::noNumberKeepsEarlierResults()
{
    QFETCH(int, direction);
    QFETCH(QString, input);
    chooseDirection(direction);
    const int in = inputField(direction);
    m_driver->type(in, QStringLiteral("1000"));
    m_driver->calculate();
    QStringList expected = m_driver->texts();
    QVERIFY(!expected[shiftField].isEmpty());

    m_driver->type(in, input);
    expected[in] = input;
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), expected);
}

void FormTest::calculatingTwiceGivesTheSameResults()
{
    m_driver->type(decimalField, QStringLiteral("1000"));
    m_driver->calculate();
    const QStringList first = m_driver->texts();
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), first);

    chooseDirection(grayToDecimalOption);
    m_driver->type(decimalGrayField, QStringLiteral("540"));
    m_driver->calculate();
    const QStringList second = m_driver->texts();
    m_driver->calculate();
    QCOMPARE(m_driver->texts(), second);
}

void FormTest::clearKeepsTheDirection_data()
{
    QTest::addColumn<int>("direction");
    QTest::newRow("decimal to Gray") << decimalToGrayOption;
    QTest::newRow("Gray to decimal") << grayToDecimalOption;
}

void FormTest::clearKeepsTheDirection()
{
    QFETCH(int, direction);
    chooseDirection(direction);
    const int in = inputField(direction);
    m_driver->type(in, QStringLiteral("12"));
    m_driver->calculate();
    QVERIFY(!m_driver->field(binaryField)->text().isEmpty());

    m_driver->clear();
    QCOMPARE(m_driver->texts(), emptyFields);
    QCOMPARE(m_driver->enabledFlags(), enabledFlagsFor(direction));
    QVERIFY(m_driver->option(direction)->isChecked());
}

void FormTest::overflowIsReportedAndChangesNothing_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    for (int direction : {decimalToGrayOption, grayToDecimalOption}) {
        for (const char *input : {"2147483648", "-2147483648", "1e400"}) {
            QTest::addRow("%s %s", direction == decimalToGrayOption ? "decimal" : "gray", input)
                << direction << QString::fromUtf8(input);
        }
    }
}

void FormTest::overflowIsReportedAndChangesNothing()
{
    QFETCH(int, direction);
    QFETCH(QString, input);
    chooseDirection(direction);
    const int in = inputField(direction);
    m_driver->type(in, QStringLiteral("6"));
    m_driver->calculate();
    m_driver->type(in, input);
    const QStringList before = m_driver->texts();

    const auto seen = closeMessageDuring([this] { m_driver->calculate(); });
    QVERIFY(seen.shown);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QVERIFY2(seen.text.contains(QStringLiteral("твърде голямо")), qPrintable(seen.text));
    QVERIFY2(seen.text.contains(QStringLiteral("2147483647")), qPrintable(seen.text));

    QCOMPARE(m_driver->texts(), before);
    QCOMPARE(m_driver->enabledFlags(), enabledFlagsFor(direction));
    QVERIFY(m_driver->option(direction)->isChecked());
    // The refused number is selected in its field, ready to be typed over; the field takes the
    // focus as soon as the window is active again.
    QCOMPARE(m_window->focusWidget(), m_driver->field(in));
    QCOMPARE(m_driver->field(in)->selectedText(), input);

    // The program goes on: the next calculation works.
    m_driver->type(in, QStringLiteral("5"));
    m_driver->calculate();
    QCOMPARE(m_driver->field(resultField(direction))->text(),
             direction == decimalToGrayOption ? QStringLiteral("7") : QStringLiteral("6"));
}

void FormTest::pastedMillionCharacters_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("overflow");
    QTest::addColumn<QString>("result"); // what the other direction's field shows afterwards
    const int million = 1'000'000;
    for (int direction : {decimalToGrayOption, grayToDecimalOption}) {
        const char *name = direction == decimalToGrayOption ? "decimal" : "gray";
        QTest::addRow("%s nines", name) << direction << QString(million, u'9') << true << "";
        QTest::addRow("%s blanks then 5", name)
            << direction << QString(million - 1, u' ') + u'5' << false
            << (direction == decimalToGrayOption ? QStringLiteral("7") : QStringLiteral("6"));
        QTest::addRow("%s Cyrillic", name)
            << direction << QString(million, QChar(0x0416)) << false << QString();
        QTest::addRow("%s long fraction", name)
            << direction << QStringLiteral("5.") + QString(million - 2, u'4') << false
            << (direction == decimalToGrayOption ? QStringLiteral("7") : QStringLiteral("6"));
        QString mixed;
        mixed.reserve(million);
        while (mixed.size() < million)
            mixed += QStringLiteral("\u3000x😀9\t&H");
        QTest::addRow("%s mixed Unicode", name) << direction << mixed << false << QString();
    }
}

void FormTest::pastedMillionCharacters()
{
    QFETCH(int, direction);
    QFETCH(QString, input);
    QFETCH(bool, overflow);
    QFETCH(QString, result);
    chooseDirection(direction);
    const int in = inputField(direction);
    m_driver->paste(in, input);
    QCOMPARE(m_driver->field(in)->text().size(), input.size());

    const auto seen = closeMessageDuring([this] { m_driver->calculate(); });
    QCOMPARE(seen.shown, overflow);
    QCOMPARE(m_driver->field(in)->text().size(), input.size());
    QCOMPARE(m_driver->field(resultField(direction))->text(), result);
}

QTEST_MAIN(FormTest)
#include "form_test.moc"
