// Qt's own texts that the user meets in the window read in Bulgarian whatever the locale (the
// tests run in the C locale): the context menus of the text fields and the button that closes
// the overflow message.
#include "app/qt_translation.h"
#include "form/pelmora.h"
#include "tests/support/window_driver.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>

#include <algorithm>

using pelmora::test::closeMessageDuring;
using pelmora::test::WindowDriver;
using namespace pelmora;

namespace {

bool isBulgarian(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

} // namespace

class QtTranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void contextMenusReadInBulgarian_data();
    void contextMenusReadInBulgarian();
    void overflowMessageClosesWithABulgarianButton();
};

void QtTranslationTest::initTestCase()
{
    pelmora::installQtTranslation(*QCoreApplication::instance());
}

void QtTranslationTest::contextMenusReadInBulgarian_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("entries");
    QTest::newRow("input field") << QStringLiteral("Text2_0") << 7;      // Undo ... Select All
    QTest::newRow("explanatory text") << QStringLiteral("Text1_0") << 2; // Copy, Select All
}

void QtTranslationTest::contextMenusReadInBulgarian()
{
    QFETCH(QString, name);
    QFETCH(int, entries);
    Pelmora window;
    QWidget *control = WindowDriver(&window).control<QWidget>(name);
    std::unique_ptr<QMenu> menu;
    if (auto *field = qobject_cast<QLineEdit *>(control))
        menu.reset(field->createStandardContextMenu());
    else
        menu.reset(qobject_cast<QPlainTextEdit *>(control)->createStandardContextMenu());

    QStringList texts;
    for (QAction *action : menu->actions()) {
        if (!action->isSeparator())
            texts << action->text();
    }
    QCOMPARE(texts.size(), entries);
    for (const QString &text : texts)
        QVERIFY2(isBulgarian(text), qPrintable(text));
}

void QtTranslationTest::overflowMessageClosesWithABulgarianButton()
{
    Pelmora window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    WindowDriver driver(&window);
    driver.type(decimalField, QStringLiteral("2147483648"));
    const auto seen = closeMessageDuring([&] { driver.calculate(); });
    QVERIFY(seen.shown);
    QVERIFY2(isBulgarian(seen.okButton), qPrintable(seen.okButton));
}

QTEST_MAIN(QtTranslationTest)
#include "qt_translation_test.moc"
