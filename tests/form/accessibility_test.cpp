// The window as a screen reader sees it, through QAccessible: the picture and the explanation
// are named, and the results of a calculation are announced. (The fields' names are form_test's,
// their answers to boundary queries line_edit_accessible_test's.)
#include "tests/support/window_test.h"
#include "widgets/announcer.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

using pelmora::test::closeMessageDuring;
using namespace pelmora;

namespace {

// The name a widget has each time it is shown. Qt tells assistive tools of each showing
// (QAccessible::ObjectShow), and a screen reader speaks a notification as it appears.
class ShowRecorder : public QObject
{
public:
    QStringList names;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            names << static_cast<QWidget *>(watched)->accessibleName();
        return false;
    }
};

} // namespace

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
    // The longest results there are, the 31 binary digits of the largest number, are said whole.
    QTest::newRow("decimal 2147483647")
        << 0 << "2147483647"
        << "Десетично число 2147483647, двоично " + QString(31, u'1') + ", преместване 0" +
               QString(30, u'1') + ", двоично Грей 1" + QString(30, u'0') +
               ", десетично Грей 1073741824";
    QTest::newRow("gray 2147483647")
        << 1 << "2147483647"
        << "Десетично число 1431655765, двоично " + QString("10").repeated(15) +
               "1, преместване Променя се в цикъл, двоично Грей " + QString(31, u'1') +
               ", десетично Грей 2147483647";
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
    ShowRecorder shows;
    m_window->findChild<widgets::Announcer *>()->installEventFilter(&shows);
    closeMessageDuring([&] { QTest::keyClick(calculate, Qt::Key_Space); });

    QAccessibleInterface *note = notification();
    QCOMPARE(note ? note->text(QAccessible::Name) : QString(), announced);

    // The same results again are said again: the notification appears anew, with the same name.
    closeMessageDuring([&] { QTest::keyClick(calculate, Qt::Key_Space); });
    const QStringList twice{announced, announced};
    QCOMPARE(shows.names, announced.isEmpty() ? QStringList() : twice);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
