// Whether the workarounds in widgets/ that stand in for a behaviour of Qt's own are still needed:
// each function runs Qt's own behaviour, without the workaround, and fails while Qt still behaves
// as the workaround assumes, saying "still needed on Qt X.Y". CTest expects the failure
// (retire_enter_presses_button, retire_mark_style_text_box_focus); the day one passes, that Qt
// does by itself what the workaround does, and the workaround can go.
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

#include <memory>

namespace {

void stillNeeded(const char *workaround, const char *why)
{
    qInfo("still needed on Qt %s: %s, %s", qVersion(), workaround, why);
}

} // namespace

class WidgetsRetirementTest : public QObject
{
    Q_OBJECT

private slots:
    void plainButtonTakesEnter_data();
    void plainButtonTakesEnter();
    void fusionMarksFocusedTextBox();
};

void WidgetsRetirementTest::plainButtonTakesEnter_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

// A focused button in a window without a default button, given Enter (enter_presses_button).
void WidgetsRetirementTest::plainButtonTakesEnter()
{
    QFETCH(int, key);
    QWidget window;
    auto *button = new QPushButton(QStringLiteral("OK"), &window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    button->setFocus();
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    QTest::keyClick(button, Qt::Key(key));
    if (clicked.isEmpty()) {
        stillNeeded("enter_presses_button", "a button outside a dialog ignores Enter");
        QFAIL("Enter did not press the focused button");
    }
}

// Fusion's frame of a multi-line text box, with and without the focus (mark_style's ring).
void WidgetsRetirementTest::fusionMarksFocusedTextBox()
{
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
    QWidget window;
    auto *box = new QPlainTextEdit(&window);
    auto *other = new QPushButton(&window);
    box->setGeometry(0, 0, 120, 60);
    box->setCursorWidth(0); // the frame alone, without the text cursor that the focus brings
    other->setGeometry(0, 70, 60, 20);
    for (QWidget *widget : {static_cast<QWidget *>(box), static_cast<QWidget *>(other)})
        widget->setStyle(fusion.get());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QImage frames[2];
    for (QWidget *focus : {static_cast<QWidget *>(other), static_cast<QWidget *>(box)}) {
        focus->setFocus();
        QCoreApplication::processEvents();
        frames[focus == box] = box->grab().toImage();
    }
    if (frames[0] == frames[1]) {
        stillNeeded("mark_style", "Fusion draws a focused multi-line text box as an unfocused one");
        QFAIL("the focused text box looks as the unfocused one");
    }
}

QTEST_MAIN(WidgetsRetirementTest)
#include "widgets_retirement_test.moc"
