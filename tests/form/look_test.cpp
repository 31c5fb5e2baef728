// The window as designed: every control's place and size (the design is in twips, 15 to a
// pixel), the colours as a rendering shows them, the font, the texts, the tab order, the
// explanatory text with its table, the hidden quotation and the picture.
#include "core/field_panel.h"
#include "form/pelmora.h"
#include "form/resources.h"
#include "tests/support/window_test.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QWindow>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

struct Placement
{
    const char *name;
    const char *container;
    int left, top, width, height; // twips
};

// The design's control records, in their order.
const Placement designed[] = {
    {"Picture1", "Pelmora", 600, 480, 1560, 1560},
    {"Text2_4", "Pelmora", 4560, 2400, 2535, 405},
    {"Command1_1", "Pelmora", 5400, 3000, 1695, 375},
    {"Command1_0", "Pelmora", 2760, 3000, 1695, 375},
    {"Text2_3", "Pelmora", 4560, 1920, 2535, 405},
    {"Text2_2", "Pelmora", 4560, 1440, 2535, 405},
    {"Text2_1", "Pelmora", 4560, 960, 2535, 405},
    {"Text2_0", "Pelmora", 4560, 480, 2535, 405},
    {"Frame1", "Pelmora", 120, 2160, 2415, 1215},
    {"Option1_1", "Frame1", 120, 720, 2175, 375},
    {"Option1_0", "Frame1", 120, 360, 2175, 375},
    {"Text1_1", "Pelmora", 600, 4680, 6735, 1815},
    {"Text1_0", "Pelmora", 120, 3480, 6975, 2295},
    {"Label1_5", "Pelmora", 2640, 2400, 1935, 405},
    {"Label1_4", "Pelmora", 2640, 1920, 1935, 405},
    {"Label1_3", "Pelmora", 2640, 1440, 1935, 405},
    {"Label1_2", "Pelmora", 2640, 960, 1935, 405},
    {"Label1_1", "Pelmora", 2640, 480, 1935, 405},
    {"Label1_0", "Pelmora", 1320, 0, 4575, 375},
};

constexpr int twipsPerPixel = 15;

QRect pixels(const Placement &p)
{
    return {p.left / twipsPerPixel, p.top / twipsPerPixel, p.width / twipsPerPixel,
            p.height / twipsPerPixel};
}

// Tab indexes 0 upward. The labels, the frame and the picture stand in the order too, but take
// no focus, so only the controls that can hold it are listed.
const char *const tabOrder[] = {"Text1_0",    "Text1_1",    "Option1_0", "Option1_1",
                                "Text2_0",    "Text2_1",    "Text2_2",   "Text2_3",
                                "Command1_0", "Command1_1", "Text2_4"};

// The Gray code of n in binary digits, worked out bit by bit: bit i of the code is bit i of n
// exclusive-or bit i + 1 of n.
QString grayDigits(int n)
{
    QString digits;
    for (int bit = 6; bit >= 0; --bit) {
        const bool set = ((n >> bit) & 1) != ((n >> (bit + 1)) & 1);
        if (set || !digits.isEmpty())
            digits += set ? u'1' : u'0';
    }
    return digits.isEmpty() ? QStringLiteral("0") : digits;
}

} // namespace

class LookTest : public pelmora::test::WindowTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowHasItsDesignedSizeAndCaption();
    void controlsStandWhereDesigned_data();
    void controlsStandWhereDesigned();
    void rowsLineUpWithTheirLabels();
    void coloursShowInTheRendering_data();
    void coloursShowInTheRendering();
    void everyControlUsesTheWindowFont();
    void captions();
    void textBoxSettings();
    void tabOrderFollowsTheDesign();
    void focusStartsInTheExplanationAndTabVisitsTheFields();
    void quotationIsThereButHidden();
    void explanatoryTextFollowsItsOutline();
    void tableHoldsTheGrayCodesOfZeroToFiftyNine();
    void pictureSitsInItsBorder();
    void pictureIsDrawnForThePixelDensity();
    void pictureFollowsTheWindowToAnotherScreen();
    void fieldsShowTheirStateInColour_data();
    void fieldsShowTheirStateInColour();

private:
    template <typename T = QWidget> T *control(const char *name)
    {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
};

void LookTest::init()
{
    QVERIFY(openWindow());
}

void LookTest::cleanup()
{
    closeWindow();
}

void LookTest::windowHasItsDesignedSizeAndCaption()
{
    QCOMPARE(m_window->size(), QSize(7215 / twipsPerPixel, 5895 / twipsPerPixel));
    // Every button of the title bar is offered (what the states do is window_state_test's).
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
    QCOMPARE(m_window->windowTitle(),
             QStringLiteral("www.pelmora.example Информатика - двоично-реверсивен код, Грей"));
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->windowIcon().availableSizes(), QList<QSize>{QSize(32, 32)});
    // Opened in the middle of the screen, give or take the window frame.
    const QPoint offCentre =
        m_window->geometry().center() - m_window->screen()->availableGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 8,
             qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
}

void LookTest::controlsStandWhereDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("geometry");
    for (const Placement &p : designed) {
        QTest::newRow(p.name) << QString::fromLatin1(p.name) << QString::fromLatin1(p.container)
                              << pixels(p);
    }
}

void LookTest::controlsStandWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, geometry);
    auto *widget = m_window->findChild<QWidget *>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), geometry);
}

void LookTest::rowsLineUpWithTheirLabels()
{
    for (int i = 0; i < pelmora::fieldCount; ++i) {
        const QByteArray field = "Text2_" + QByteArray::number(i);
        const QByteArray label = "Label1_" + QByteArray::number(i + 1);
        QCOMPARE(control(field)->y(), control(label)->y());
    }
}

void LookTest::coloursShowInTheRendering_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("spot"); // where nothing but the background shows, in the control
    QTest::addColumn<QColor>("colour");
    const QColor window(192, 192, 255), label(255, 192, 128), option(128, 128, 255);
    QTest::newRow("window") << "Pelmora" << QPoint(3, 3) << window;
    QTest::newRow("window below the frame") << "Pelmora" << QPoint(60, 228) << window;
    QTest::newRow("Frame1") << "Frame1" << QPoint(157, 75) << window;
    QTest::newRow("Label1_0") << "Label1_0" << QPoint(3, 3) << label;
    QTest::newRow("Label1_0 right") << "Label1_0" << QPoint(300, 21) << label;
    for (int i = 1; i <= 5; ++i) {
        QTest::addRow("Label1_%d", i)
            << QStringLiteral("Label1_%1").arg(i) << QPoint(125, 23) << label;
        QTest::addRow("Label1_%d top left", i)
            << QStringLiteral("Label1_%1").arg(i) << QPoint(0, 0) << label;
    }
    for (int i = 0; i <= 1; ++i) {
        QTest::addRow("Option1_%d", i)
            << QStringLiteral("Option1_%1").arg(i) << QPoint(141, 12) << option;
        QTest::addRow("Option1_%d corner", i)
            << QStringLiteral("Option1_%1").arg(i) << QPoint(0, 0) << option;
    }
    QTest::newRow("Command1_0") << "Command1_0" << QPoint(8, 8) << QColor(128, 255, 128);
    QTest::newRow("Command1_1") << "Command1_1" << QPoint(8, 8) << QColor(255, 0, 0);
}

void LookTest::coloursShowInTheRendering()
{
    QFETCH(QString, name);
    QFETCH(QPoint, spot);
    QFETCH(QColor, colour);
    const QImage shot = m_window->grab().toImage();
    auto *widget = m_window->findChild<QWidget *>(name);
    const QPoint inWindow =
        name == m_window->objectName() ? spot : widget->mapTo(m_window.get(), spot);
    const QPoint pixel = inWindow * shot.devicePixelRatio();
    QCOMPARE(QColor(shot.pixel(pixel)), colour);
}

void LookTest::everyControlUsesTheWindowFont()
{
#ifdef Q_OS_WIN
    const QString family = QStringLiteral("Times New Roman");
#else
    // Metric-compatible with Times New Roman, so every text takes the same room.
    const QString family = QStringLiteral("Liberation Serif");
#endif
    QList<QWidget *> widgets{m_window.get()};
    for (const Placement &p : designed)
        widgets << control(p.name);
    for (QWidget *widget : widgets) {
        const QFontInfo info(widget->font());
        QCOMPARE(info.family(), family);
        QCOMPARE(info.pointSize(), 12);
        QCOMPARE(info.weight(), int(QFont::Normal));
        QVERIFY(!info.italic());
        QVERIFY(!info.underline() && !info.strikeOut());
    }
}

void LookTest::captions()
{
    QCOMPARE(control<QLabel>("Label1_0")->text(), QStringLiteral("Информатика - код на Грей"));
    QVERIFY(control<QLabel>("Label1_0")->alignment().testFlag(Qt::AlignHCenter));
    QCOMPARE(control<QLabel>("Label1_1")->text(), QStringLiteral("Десетично число:"));
    QCOMPARE(control<QLabel>("Label1_2")->text(), QStringLiteral("Двоично число:"));
    QCOMPARE(control<QLabel>("Label1_3")->text(), QStringLiteral("Преместване:"));
    QCOMPARE(control<QLabel>("Label1_4")->text(), QStringLiteral("Двоично Грей:"));
    QCOMPARE(control<QLabel>("Label1_5")->text(), QStringLiteral("Десетично Грей:"));
    QCOMPARE(control<QGroupBox>("Frame1")->title(), QStringLiteral("Преобразува кода"));
    QCOMPARE(control<QAbstractButton>("Option1_0")->text(), QStringLiteral("Десетично в Грей"));
    QCOMPARE(control<QAbstractButton>("Option1_1")->text(), QStringLiteral("Грей в десетично"));
    QCOMPARE(control<QAbstractButton>("Command1_0")->text(), QStringLiteral("Изчисли"));
    QCOMPARE(control<QAbstractButton>("Command1_1")->text(), QStringLiteral("Изчисти"));
}

void LookTest::textBoxSettings()
{
    for (const char *name : {"Text2_1", "Text2_2", "Text2_3"})
        QVERIFY2(control<QLineEdit>(name)->isReadOnly(), name);
    for (const char *name : {"Text2_0", "Text2_4"})
        QVERIFY2(!control<QLineEdit>(name)->isReadOnly(), name);
    for (const char *name : {"Text1_0", "Text1_1"}) {
        auto *box = control<QPlainTextEdit>(name);
        QVERIFY2(box->isReadOnly(), name);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    }
    QVERIFY(control("Text1_0")->isVisible());
    QVERIFY(control<QPlainTextEdit>("Text1_0")->verticalScrollBar()->isVisible());
}

void LookTest::tabOrderFollowsTheDesign()
{
    QStringList expected;
    for (const char *name : tabOrder)
        expected << QString::fromLatin1(name);
    // The focus chain also holds the parts of compound widgets (scroll bars, viewports);
    // only the design's controls matter here.
    QStringList chain;
    for (QWidget *widget = m_window->nextInFocusChain(); widget != m_window.get();
         widget = widget->nextInFocusChain()) {
        if (expected.contains(widget->objectName()))
            chain << widget->objectName();
    }
    // The chain is a ring: read it from the first control of the design.
    const qsizetype first = chain.indexOf(expected.first());
    QVERIFY(first >= 0);
    chain = chain.mid(first) + chain.mid(0, first);
    QCOMPARE(chain, expected);
}

void LookTest::focusStartsInTheExplanationAndTabVisitsTheFields()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QCOMPARE(QApplication::focusWidget(), control("Text1_0"));

    // The hidden quotation, the labels, the frame and the picture take no focus, and neither
    // does the disabled Gray input.
    const QStringList visited{"Option1_0", "Text2_0",    "Text2_1",    "Text2_2",
                              "Text2_3",   "Command1_0", "Command1_1", "Text1_0"};
    for (const QString &next : visited) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), next);
    }
}

void LookTest::quotationIsThereButHidden()
{
    const QString quotation = pelmora::textResource(QStringLiteral(":/text/quotation.txt"));
    QCOMPARE(quotation.size(), 118);
    QCOMPARE(quotation, QStringLiteral("Неприятното в това да си първият, направил нещо по \r\n"
                                       "правилния начин, е, че никой не оценява колко трудно е \r\n"
                                       "било. \r\n"));
    auto *box = control<QPlainTextEdit>("Text1_1");
    QVERIFY(box->isHidden());
    QCOMPARE(box->toPlainText(), QString(quotation).remove(u'\r'));
}

void LookTest::explanatoryTextFollowsItsOutline()
{
    const QString text = pelmora::textResource(QStringLiteral(":/text/explanation.txt"));
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), 35);
    for (const QString &line : lines)
        QVERIFY2(!line.contains(u'\r') && !line.contains(u'\n'), qPrintable(line));

    const QString introduction = lines.mid(0, 5).join(u' ');
    QVERIFY(introduction.contains(
        QStringLiteral("код на Грей, огледален двоичен код, двоично-реверсивен код")));
    QVERIFY(lines.mid(5, 4).join(u' ').contains(QStringLiteral("Информатика - код на Грей.")));
    QCOMPARE(lines[9], QString());
    QCOMPARE(lines[10],
             QStringLiteral("Алгоритъм за представяне на естествено число в код на Грей."));
    QVERIFY(lines.mid(11, 3).join(u' ').count(QStringLiteral("XOR")) >= 2);
    QCOMPARE(lines[14], QStringLiteral("Дадени са естествени числа и еквивалентното им двоично "
                                       "представяне в код на Грей."));
    for (int i = 0; i < 15; ++i)
        QVERIFY2(i == 9 || lines[i].size() > 20, qPrintable(QString::number(i)));

    // The window shows the same text.
    QCOMPARE(control<QPlainTextEdit>("Text1_0")->toPlainText(), QString(text).remove(u'\r'));
}

void LookTest::tableHoldsTheGrayCodesOfZeroToFiftyNine()
{
    const QStringList lines = pelmora::textResource(QStringLiteral(":/text/explanation.txt"))
                                  .split(QStringLiteral("\r\n"))
                                  .mid(15, 20);
    QCOMPARE(lines.size(), 20);
    QCOMPARE(lines[0], QStringLiteral("0 0;      20 11110;   40 111100 "));
    QCOMPARE(lines[16], QStringLiteral("16 11000; 36 110110;  56 100100 "));
    for (int j = 0; j < 20; ++j) {
        const auto entry = [](int n) { return QString::number(n) + u' ' + grayDigits(n); };
        const QString expected = (entry(j) + u';').leftJustified(10) +
                                 (entry(j + 20) + u';').leftJustified(12) + entry(j + 40) + u' ';
        QCOMPARE(lines[j], expected);
    }
}

void LookTest::pictureSitsInItsBorder()
{
    auto *picture = control<QLabel>("Picture1");
    QCOMPARE(picture->pixmap().deviceIndependentSize(), QSizeF(100, 100));
    QCOMPARE(picture->size(), QSize(104, 104));
    QCOMPARE(picture->frameWidth(), 2);
    QCOMPARE(picture->contentsRect(), QRect(2, 2, 100, 100));
    QCOMPARE(picture->frameShadow(), QFrame::Sunken);
}

// Each pixel of the disc on the screen is a pixel of the picture drawn for the screen's density,
// not a blurred enlargement of the designed 100 x 100 one.
void LookTest::pictureIsDrawnForThePixelDensity()
{
    const QImage shot = m_window->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    QImage source(ratio > 1 ? QStringLiteral(":/images/encoder-disc@2x.png")
                            : QStringLiteral(":/images/encoder-disc.jpg"));
    QVERIFY(!source.isNull());
    const int side = qRound(100 * ratio);
    QCOMPARE(source.width(), side); // the two pictures cover the ratios this test runs at
    const QPoint origin = control("Picture1")->mapTo(m_window.get(), QPoint(2, 2)) * ratio;
    QCOMPARE(shot.copy(QRect(origin, QSize(side, side))).convertToFormat(QImage::Format_RGB32),
             source.convertToFormat(QImage::Format_RGB32));
}

// A screen of another scale sends the window's screenChanged; the picture is drawn anew for it.
void LookTest::pictureFollowsTheWindowToAnotherScreen()
{
    auto *picture = control<QLabel>("Picture1");
    picture->clear();
    emit m_window->windowHandle()->screenChanged(m_window->screen());
    QCOMPARE(picture->pixmap().deviceIndependentSize(), QSizeF(100, 100));
    QCOMPARE(picture->pixmap().devicePixelRatio(), m_window->devicePixelRatioF());
}

void LookTest::fieldsShowTheirStateInColour_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    QTest::newRow("result") << int(pelmora::binaryGrayField) << false << QColor(Qt::white)
                            << QColor(Qt::black);
    // 31 binary digits fill the field.
    QTest::newRow("selected") << int(pelmora::binaryField) << true << QColor(0, 0, 128)
                              << QColor(Qt::white);
    QTest::newRow("disabled") << int(pelmora::decimalGrayField) << false << QColor(239, 239, 239)
                              << QColor(96, 96, 96);
}

// A field's most common colour is its background, and its text is drawn in its own colour: the
// fixed palette's, for each state a field can be in.
void LookTest::fieldsShowTheirStateInColour()
{
    QFETCH(int, field);
    QFETCH(bool, selected);
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_driver->type(pelmora::decimalField, QStringLiteral("2147483647"));
    m_driver->calculate();
    QLineEdit *edit = m_driver->field(field);
    if (selected) {
        edit->setFocus();
        edit->selectAll();
    }
    const QImage shot = edit->grab(edit->contentsRect().adjusted(2, 2, -2, -2)).toImage();
    QHash<QRgb, int> counts;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x)
            ++counts[shot.pixel(x, y) & RGB_MASK];
    }
    const auto common = std::max_element(counts.cbegin(), counts.cend());
    QCOMPARE(QColor(common.key()), background);
    // The text's colour inside the background's extent (a selection's, say), not in a margin.
    QRect extent;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if ((shot.pixel(x, y) & RGB_MASK) == common.key())
                extent |= QRect(x, y, 1, 1);
        }
    }
    int textPixels = 0;
    for (int y = extent.top() + 1; y < extent.bottom(); ++y) {
        for (int x = extent.left() + 1; x < extent.right(); ++x)
            textPixels += (shot.pixel(x, y) & RGB_MASK) == (text.rgb() & RGB_MASK);
    }
    QVERIFY2(textPixels >= 5, qPrintable(QStringLiteral("%1 pixels of %2 on %3")
                                             .arg(textPixels)
                                             .arg(text.name(), background.name())));
}

QTEST_MAIN(LookTest)
#include "look_test.moc"
