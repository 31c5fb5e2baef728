// The window as a screen reader sees it, through QAccessible: the picture and the explanation
// are named, and the results of a calculation are announced. (The fields' names are form_test's,
// their answers to boundary queries line_edit_accessible_test's.)
#include "tests/support/window_test.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using pelmora::test::closeMessageDuring;
using namespace pelmora;

class AccessibilityTest : public pelmora::test::WindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pictureAndExplanationAreNamed();
    void resultsAreAnnounced_data();
    void resultsAreAnnounced();

private:
    QAccessibleInterface *notification() const;
};

void AccessibilityTest::init()
{
    QVERIFY(openWindow());
}

void AccessibilityTest::cleanup()
{
    closeWindow();
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
