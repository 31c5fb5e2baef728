// What the program tells the platform about itself.
#include "app/identity.h"

#include <QtTest>

class IdentityTest : public QObject
{
    Q_OBJECT

private slots:
    void namesItselfAsPublished()
    {
        pelmora::describeApplication();
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Pelmora"));
        QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
        QCOMPARE(QCoreApplication::organizationDomain(), QStringLiteral("www.pelmora.example"));
        // The desktop entry that is installed under this name.
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("example.pelmora.Pelmora"));
    }
};

QTEST_MAIN(IdentityTest)
#include "identity_test.moc"
