// Whether the workarounds in widgets/ that stand in for a behaviour of Qt's own are still needed:
// each function runs Qt's own behaviour, without the workaround, and fails while Qt still behaves
// as the workaround assumes, saying "still needed on Qt X.Y". CTest expects the failure
// (retire_enter_presses_button, retire_mark_style_text_box_focus, retire_long_text_unshaped); the
// day one passes, that Qt
// does by itself what the workaround does, and the workaround can go.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

#include <algorithm>
#include <limits>
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
    void shapedLongTextSetAsQuickly();
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

// A plain QLineEdit given a million digits, shaped and unshaped, the quickest of three each. The
// long-text painter lays long texts out unshaped because QLineEdit lays out its whole text again
// on every change, which shaping makes much dearer; within a quarter, it is not worth it.
void WidgetsRetirementTest::shapedLongTextSetAsQuickly()
{
    QLineEdit edit;
    edit.setMaxLength(std::numeric_limits<int>::max());
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    const QString million(1'000'000, u'7');
    double quickest[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    for (int round = 0; round < 3; ++round) {
        for (const bool shaped : {false, true}) {
            QFont font;
            font.setStyleStrategy(shaped ? QFont::PreferDefault : QFont::PreferNoShaping);
            edit.setFont(font);
            edit.clear();
            QElapsedTimer timer;
            timer.start();
            edit.setText(million);
            quickest[shaped] = std::min(quickest[shaped], double(timer.nsecsElapsed()) / 1e6);
        }
    }
    const double ratio = quickest[1] / std::max(quickest[0], 0.001);
    if (ratio > 1.25) {
        stillNeeded("the unshaped layout of long texts",
                    qPrintable(QStringLiteral("a shaped million characters are set in %1 ms, %2 "
                                              "times as long as unshaped (%3 ms)")
                                   .arg(quickest[1], 0, 'f', 0)
                                   .arg(ratio, 0, 'f', 2)
                                   .arg(quickest[0], 0, 'f', 0)));
        QFAIL("shaping still makes a long text's layout much dearer");
    }
    qInfo("shaped %.0f ms, unshaped %.0f ms", quickest[1], quickest[0]);
}

QTEST_MAIN(WidgetsRetirementTest)
#include "widgets_retirement_test.moc"
