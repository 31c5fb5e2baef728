// Every text in the window stays readable whatever palette the desktop hands the program: the
// contrast of each control's text against its background, measured on a rendering of the window
// with results showing, and of the overflow message's texts, under the desktop's own palette and
// a dark and a high-contrast one. On Windows these run once more with the desktop in dark mode
// (contrast_tests_dark), where Qt must follow it.
#include "form/pelmora.h"
#include "tests/support/window_test.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <map>

using pelmora::test::WindowDriver;
using namespace pelmora;

namespace {

// WCAG 2 relative luminance and contrast ratio.
double luminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The most common colour in the area, taken as its background.
QRgb background(const QImage &image, const QRect &area)
{
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y)];
    return std::max_element(counts.begin(), counts.end(),
                            [](auto &a, auto &b) { return a.second < b.second; })
        ->first;
}

// The colour of the area's text: its pixel that differs most from the area's background.
// Antialiasing blends the edges of the glyphs, but their stems show the text's own colour.
QRgb textColour(const QImage &image, const QRect &area, QRgb back)
{
    QRgb strongest = back;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (contrast(image.pixel(x, y), back) > contrast(strongest, back))
                strongest = image.pixel(x, y);
        }
    return strongest;
}

QRgb textColour(const QImage &image, const QRect &area)
{
    return textColour(image, area, background(image, area));
}

double textContrast(const QImage &image, const QRect &area)
{
    const QRgb back = background(image, area);
    return contrast(textColour(image, area, back), back);
}

QPalette darkPalette()
{
    // What Qt's GTK theme hands over under Adwaita's dark style.
    QPalette palette(QColor(0xf0f0f0), QColor(0x323232), QColor(0x4b4b4b), QColor(0x212121),
                     QColor(0x262626), QColor(0xf0f0f0), QColor(0x4b4b4b), QColor(0x242424),
                     QColor(0x323232));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x828282));
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(0x323232));
    palette.setColor(QPalette::Highlight, QColor(0x308cc6));
    palette.setColor(QPalette::HighlightedText, QColor(0xf0f0f0));
    return palette;
}

QPalette highContrastPalette()
{
    // White on black, with the yellow-green grey text of Windows' high-contrast black scheme.
    QPalette palette(Qt::white, Qt::black, Qt::white, Qt::white, Qt::white, Qt::white, Qt::white,
                     Qt::black, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(0x3ff23f));
    palette.setColor(QPalette::Highlight, QColor(0x1aebff));
    palette.setColor(QPalette::HighlightedText, Qt::black);
    return palette;
}

// Where each kind of control draws its text, in the control's own coordinates.
QRect textArea(QWidget *control)
{
    if (auto *frame = qobject_cast<QGroupBox *>(control)) {
        const QFontMetrics metrics(frame->font());
        return {8, 0, metrics.horizontalAdvance(frame->title()), metrics.height()};
    }
    if (auto *option = qobject_cast<QRadioButton *>(control)) {
        QStyleOptionButton style;
        style.initFrom(option);
        style.text = option->text();
        return option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
    }
    if (auto *box = qobject_cast<QPlainTextEdit *>(control))
        return box->viewport()->geometry();
    // Labels fill their area; buttons and fields draw a border of at most 3 pixels around it.
    return qobject_cast<QLabel *>(control) ? control->rect()
                                           : control->rect().adjusted(3, 3, -3, -3);
}

const char *const controlsWithText[] = {
    "Label1_0", "Label1_1",  "Label1_2",  "Label1_3",   "Label1_4",   "Label1_5",
    "Frame1",   "Option1_0", "Option1_1", "Command1_0", "Command1_1", "Text2_0",
    "Text2_1",  "Text2_2",   "Text2_3",   "Text2_4",    "Text1_0"};

// The controls that can hold the focus, in either direction.
const char *const focusable[] = {"Option1_0", "Option1_1", "Text2_0",    "Text2_1",    "Text2_2",
                                 "Text2_3",   "Text2_4",   "Command1_0", "Command1_1", "Text1_0"};

} // namespace

class ContrastTest : public pelmora::test::WindowTest
{
    Q_OBJECT

private slots:
    void cleanup();
    void textsAreReadable_data();
    void textsAreReadable();
    void focusMarksStandOut_data() { textsAreReadable_data(); }
    void focusMarksStandOut();
    void chosenDirectionShows_data() { textsAreReadable_data(); }
    void chosenDirectionShows();
    void overflowMessageIsReadable_data() { textsAreReadable_data(); }
    void overflowMessageIsReadable();
    void followsWindowsColourScheme();

private:
    // Opens the window under the palette, in the direction given.
    void open(const QPalette &palette, int direction);
    QImage shot() const { return m_window->grab().toImage(); }
    QRect area(QWidget *control, const QRect &rect, qreal ratio) const
    {
        return {control->mapTo(m_window.get(), rect.topLeft()) * ratio, rect.size() * ratio};
    }
};

void ContrastTest::cleanup()
{
    closeWindow();
    QApplication::setPalette(QPalette());
}

void ContrastTest::textsAreReadable_data()
{
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<int>("direction");
    const std::pair<const char *, QPalette> palettes[] = {{"desktop", QApplication::palette()},
                                                          {"dark", darkPalette()},
                                                          {"high contrast", highContrastPalette()}};
    for (const auto &[name, palette] : palettes) {
        QTest::addRow("%s, decimal to Gray", name) << palette << decimalToGrayOption;
        QTest::addRow("%s, Gray to decimal", name) << palette << grayToDecimalOption;
    }
}

void ContrastTest::open(const QPalette &palette, int direction)
{
    QApplication::setPalette(palette);
    QVERIFY(openWindow(Wait::Active));
    m_driver->choose(direction);
}

void ContrastTest::textsAreReadable()
{
    QFETCH(QPalette, palette);
    QFETCH(int, direction);
    open(palette, direction);
    m_driver->type(direction == decimalToGrayOption ? decimalField : decimalGrayField,
                   QStringLiteral("7"));
    m_driver->calculate();
    for (int i = 0; i < fieldCount; ++i)
        QVERIFY(!m_driver->field(i)->text().isEmpty());

    const QImage image = shot();
    QStringList failures;
    for (const char *name : controlsWithText) {
        auto *control = m_driver->control<QWidget>(QString::fromLatin1(name));
        const double ratio =
            textContrast(image, area(control, textArea(control), image.devicePixelRatio()));
        if (ratio < 4.5)
            failures << QStringLiteral("%1 %2:1").arg(QLatin1String(name)).arg(ratio, 0, 'f', 2);
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));

    // The answer in the disabled field is greyed: readable (above), in a colour of its own.
    const auto glyphColour = [&](int i) {
        QWidget *field = m_driver->field(i);
        return textColour(image, area(field, textArea(field), image.devicePixelRatio()));
    };
    const int disabled = direction == decimalToGrayOption ? decimalGrayField : decimalField;
    QVERIFY(!m_driver->field(disabled)->isEnabled());
    QCOMPARE_NE(glyphColour(disabled), glyphColour(binaryField));
}

// Tab visits every control that takes the focus; along the edge of each, the focus mark must
// differ from what was there without the focus by at least 3 : 1. The mark is dark and lies on
// the focused control's outermost pixels, on every side; no other control's outermost pixels
// change.
void ContrastTest::focusMarksStandOut()
{
    QFETCH(QPalette, palette);
    QFETCH(int, direction);
    open(palette, direction);
    if (QWidget *focused = QApplication::focusWidget())
        focused->clearFocus();
    const QImage unfocused = shot();
    m_driver->control<QWidget>(QStringLiteral("Text1_0"))->setFocus();

    QStringList failures;
    // Eight presses go once round: the chosen option, the fields, the buttons, the explanation.
    for (int step = 0; step < 8; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *control = QApplication::focusWidget();
        const QImage focused = shot();
        const qreal ratio = focused.devicePixelRatio();
        const QRect outer = area(control, control->rect().adjusted(-2, -2, 2, 2), ratio);
        const QRect inner = area(control, control->rect().adjusted(3, 3, -3, -3), ratio);
        double strongest = 1.0;
        for (int y = outer.top(); y <= outer.bottom(); ++y) {
            for (int x = outer.left(); x <= outer.right(); ++x) {
                if (!inner.contains(x, y))
                    strongest =
                        std::max(strongest, contrast(focused.pixel(x, y), unfocused.pixel(x, y)));
            }
        }
        if (strongest < 3.0)
            failures
                << QStringLiteral("%1 %2:1").arg(control->objectName()).arg(strongest, 0, 'f', 2);

        for (const char *name : focusable) {
            auto *other = m_driver->control<QWidget>(QString::fromLatin1(name));
            const QRect r = other->rect();
            const std::pair<const char *, QRect> edges[] = {
                {"top", {r.left(), r.top(), r.width(), 1}},
                {"bottom", {r.left(), r.bottom(), r.width(), 1}},
                {"left", {r.left(), r.top(), 1, r.height()}},
                {"right", {r.right(), r.top(), 1, r.height()}}};
            for (const auto &[side, edge] : edges) {
                // Only the pixels the control shows count, not those of a control laid over it
                // (a field's left edge lies under its caption); a side hidden whole is skipped.
                bool shows = false, darker = false, changed = false;
                for (int y = edge.top(); y <= edge.bottom(); ++y) {
                    for (int x = edge.left(); x <= edge.right(); ++x) {
                        const QPoint at = other->mapTo(m_window.get(), QPoint(x, y));
                        QWidget *shown = m_window->childAt(at);
                        if (shown != other && !other->isAncestorOf(shown))
                            continue;
                        const QRgb now = focused.pixel(at * ratio),
                                   before = unfocused.pixel(at * ratio);
                        shows = true;
                        darker = darker || luminance(now) < luminance(before);
                        changed = changed || now != before;
                    }
                }
                const bool marked = other == control ? darker : changed;
                if (shows && marked != (other == control))
                    failures << QStringLiteral("%1 %2 edge %3 with the focus on %4")
                                    .arg(QLatin1String(name), QLatin1String(side),
                                         marked ? QStringLiteral("marked")
                                                : QStringLiteral("unmarked"),
                                         control->objectName());
            }
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
}

// Each option's round mark stands out from the option's colour, and the dot of the chosen one
// from the inside of the other's mark, by at least 3 : 1.
void ContrastTest::chosenDirectionShows()
{
    QFETCH(QPalette, palette);
    QFETCH(int, direction);
    open(palette, direction);
    const QImage image = shot();
    QList<QRgb> centres(2);
    for (int i = 0; i < 2; ++i) {
        QRadioButton *option = m_driver->option(i);
        QStyleOptionButton style;
        style.initFrom(option);
        const QRect mark =
            area(option,
                 option->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style, option),
                 image.devicePixelRatio());
        const QRgb back = background(image, area(option, option->rect(), image.devicePixelRatio()));
        double strongest = 1.0;
        for (int y = mark.top(); y <= mark.bottom(); ++y)
            for (int x = mark.left(); x <= mark.right(); ++x)
                strongest = std::max(strongest, contrast(image.pixel(x, y), back));
        QVERIFY2(strongest >= 3.0, qPrintable(QString::number(strongest)));
        centres[i] = image.pixel(mark.center());
    }
    const double dot = contrast(centres[direction], centres[1 - direction]);
    QVERIFY2(dot >= 3.0, qPrintable(QString::number(dot)));
    // The dot is the chosen option's: its centre has the text colour, the other's the base colour.
    const QPalette &colours = m_driver->option(direction)->palette();
    QCOMPARE(QColor(centres[direction]), colours.color(QPalette::Text));
    QCOMPARE(QColor(centres[1 - direction]), colours.color(QPalette::Base));
}

// The message about a number that is too large follows the desktop's colours, as message boxes
// do: its text and its button's stay readable on its own background.
void ContrastTest::overflowMessageIsReadable()
{
    QFETCH(QPalette, palette);
    QFETCH(int, direction);
    open(palette, direction);
    m_driver->type(direction == decimalToGrayOption ? decimalField : decimalGrayField,
                   QStringLiteral("2147483648"));
    QStringList texts;
    QStringList failures;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return;
        poll.stop();
        const QImage image = box->grab().toImage();
        const qreal ratio = image.devicePixelRatio();
        QList<QWidget *> withText;
        for (QLabel *label : box->findChildren<QLabel *>()) {
            if (!label->text().isEmpty())
                withText << label;
        }
        for (QPushButton *button : box->findChildren<QPushButton *>())
            withText << button;
        for (QWidget *control : withText) {
            const QRect rect = qobject_cast<QLabel *>(control)
                                   ? control->rect()
                                   : control->rect().adjusted(3, 3, -3, -3);
            const QRect where(control->mapTo(box, rect.topLeft()) * ratio, rect.size() * ratio);
            const double contrast = textContrast(image, where);
            texts << control->property("text").toString();
            if (contrast < 4.5)
                failures
                    << QStringLiteral("\"%1\" %2:1").arg(texts.last()).arg(contrast, 0, 'f', 2);
        }
        box->button(QMessageBox::Ok)->click();
    });
    poll.start();
    m_driver->calculate();
    poll.stop();
    QVERIFY2(texts.size() >= 2, qPrintable(texts.join(QStringLiteral(" | "))));
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QStringLiteral(", "))));
}

// Windows says whether programs should be dark (Settings, Personalisation, Colours); from Qt 6.5
// on, Qt follows it, and the rows above then run under that palette.
void ContrastTest::followsWindowsColourScheme()
{
#if defined(Q_OS_WIN) && QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    const QSettings personalize(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                       "Themes\\Personalize"),
        QSettings::NativeFormat);
    const bool dark = personalize.value(QStringLiteral("AppsUseLightTheme"), 1).toInt() == 0;
    QCOMPARE(QGuiApplication::styleHints()->colorScheme(),
             dark ? Qt::ColorScheme::Dark : Qt::ColorScheme::Light);
    QCOMPARE(QApplication::palette().color(QPalette::Window).lightness() < 128, dark);
#else
    QSKIP("only Windows tells Qt 6.5 and later a colour scheme of its own");
#endif
}

QTEST_MAIN(ContrastTest)
#include "contrast_test.moc"
