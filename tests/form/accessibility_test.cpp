// The window as a screen reader sees it, through QAccessible: the picture and the explanation
// are named, and the results of a calculation are announced. (The fields' names are form_test's,
// their answers to boundary queries line_edit_accessible_test's.)
#include "tests/support/window_test.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtGui/private/qguiapplication_p.h>
#include <QtTest>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using pelmora::test::closeMessageDuring;
using namespace pelmora;

namespace {

// What a screen reader hears announced, as Qt's accessibility bridge receives it: an
// announcement event (Qt 6.8 and later), or a notification that appears, by its name when it is
// shown. Either is spoken, so a message must come as one of them and once. Qt hands events on
// only while a screen reader is connected; the platform marks that as a bridge does when one
// connects (as Qt's own accessibility tests do).
class AnnouncementRecorder
{
public:
    AnnouncementRecorder()
    {
        s_heard.clear();
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        m_previous = QAccessible::installUpdateHandler(&record);
    }
    ~AnnouncementRecorder() { QAccessible::installUpdateHandler(m_previous); }

    QStringList heard() const { return s_heard; }

private:
    static void record(QAccessibleEvent *event)
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        if (event->type() == QAccessible::Announcement) {
            s_heard << static_cast<QAccessibleAnnouncementEvent *>(event)->message();
            return;
        }
#endif
        QAccessibleInterface *shown = event->accessibleInterface();
        if (event->type() == QAccessible::ObjectShow && shown &&
            shown->role() == QAccessible::Notification)
            s_heard << shown->text(QAccessible::Name);
    }

    static inline QStringList s_heard;
    QAccessible::UpdateHandler m_previous = nullptr;
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
    QTest::newRow("40 characters, said whole")
        << 0 << "5." + QString(38, u'4')
        << "Десетично число 5." + QString(38, u'4') +
               ", двоично 101, преместване 010, двоично Грей 111, десетично Грей 7";
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
    // The announcer makes no empty notification when the window opens, and takes no room.
    auto *announcer = m_driver->control<QWidget>(QStringLiteral("Announcer"));
    QVERIFY(!announcer->isVisible());
    QPushButton *calculate = m_driver->command(calculateCommand);
    calculate->setFocus();
    AnnouncementRecorder recorder;
    closeMessageDuring([&] { QTest::keyClick(calculate, Qt::Key_Space); });
    QCOMPARE(recorder.heard(), announced.isEmpty() ? QStringList() : QStringList{announced});

    // The same results again are said again.
    closeMessageDuring([&] { QTest::keyClick(calculate, Qt::Key_Space); });
    const QStringList twice{announced, announced};
    QCOMPARE(recorder.heard(), announced.isEmpty() ? QStringList() : twice);
    QVERIFY(announcer->geometry().isEmpty());
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
