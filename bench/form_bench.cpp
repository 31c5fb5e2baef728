// What the user waits for in the window: the time from an input event until every pixel it
// changes has reached the screen.
//
// Input goes in through the window system interface (QTest's QWindow overloads), the path that
// events from the display take, so focus moves on a click as it does for a user. The clock
// stops once the window is settled: event processing has run until a pass handled no further
// update request (each one paints the window's dirty region into its backing store and flushes
// it to the platform), and, on a real X display, a round trip to the X server has returned, so
// the server has executed the flushed image. On the offscreen platform the backing store's
// image is all there is to see, so it is done once painted. Each timed repetition is one
// event; the reports give min, median and max over the repetitions.
//
// Cases, in both directions and for a short input and a million characters: a click on
// Calculate with the mouse while the focus is in the input field (where typing left it), and
// Space on Calculate while the focus is on it; then, with a million characters in the focused
// input field, the paste until shown, one repaint of the whole window, and the processor time
// the window takes over ten seconds at rest.
//
// Targets with a million characters: a click, a paste's frame or a repaint under one frame
// (16 ms), the paste shown within 200 ms, at rest under 1 % of a core; short inputs under 2 ms.
//
// Also the time a screen reader waits for the word at the caret in a field that holds a million
// characters. Target: under 100 ms.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "form/pelmora.h"
#include "tests/support/window_driver.h"
#include "widgets/accessibility.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtGui/qguiapplication_platform.h>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <ctime>
#include <vector>
#include <xcb/xcb.h>

using pelmora::test::WindowDriver;
using namespace pelmora;

namespace {

enum class Direction { DecimalToGray, GrayToDecimal };
enum class Trigger { Mouse, Space };

const qsizetype million = 1'000'000;

// Two inputs of each length whose results differ, so that every calculation changes the
// result fields. The long ones are numbers written out to a million characters.
struct Inputs
{
    QString first;
    QString second;
};

const Inputs shortInputs{QStringLiteral("1000"), QStringLiteral("999")};

Inputs millionInputs()
{
    return {QStringLiteral("5.") + QString(million - 2, u'0'),
            QStringLiteral("6.") + QString(million - 2, u'0')};
}

// Counts the events of one type that a widget receives.
class EventCounter : public QObject
{
public:
    EventCounter(QWidget *widget, QEvent::Type type) : m_type(type)
    {
        widget->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == m_type)
            ++count;
        return false;
    }

private:
    QEvent::Type m_type;
};

// Waits until the X server has executed every request sent so far; nothing to wait for on
// other platforms.
void reachDisplay()
{
    if (QGuiApplication::platformName() != u"xcb")
        return;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11->connection();
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

// The Pelmora window, shown and active, with the means to drive it and to wait until what it
// shows has reached the screen.
class Scene
{
public:
    explicit Scene(benchmark::State &state)
        : m_driver(&m_window), m_frames(&m_window, QEvent::UpdateRequest)
    {
        m_window.show();
        m_window.activateWindow();
        if (!QTest::qWaitForWindowActive(&m_window))
            state.SkipWithError("the window was not shown and activated");
        settle();
    }

    WindowDriver &driver() { return m_driver; }
    QWindow *handle() { return m_window.windowHandle(); }

    // Processes events until a pass handles no update request of the window, then waits for
    // the display.
    void settle()
    {
        for (;;) {
            const int frames = m_frames.count;
            QCoreApplication::processEvents();
            if (m_frames.count == frames)
                break;
        }
        reachDisplay();
    }

    void clickWithMouse(QWidget *widget)
    {
        const QPoint centre = widget->mapTo(&m_window, widget->rect().center());
        QTest::mouseClick(handle(), Qt::LeftButton, Qt::NoModifier, centre);
    }

    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(handle(), key, modifiers);
    }

private:
    Pelmora m_window;
    WindowDriver m_driver;
    EventCounter m_frames;
};

// Every repetition is one event, so these are the fastest and the slowest the user saw.
double minimum(const std::vector<double> &values)
{
    return *std::min_element(values.begin(), values.end());
}

double maximum(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

// A Calculate click, from the press until the window shows the results. The input alternates
// between two texts, so every click writes new results.
void BM_Calculate(benchmark::State &state, Direction direction, bool longInput, Trigger trigger)
{
    Scene scene(state);
    WindowDriver &driver = scene.driver();
    const Inputs inputs = longInput ? millionInputs() : shortInputs;
    const int inputIndex = direction == Direction::DecimalToGray ? decimalField : decimalGrayField;
    QLineEdit *input = driver.field(inputIndex);
    QPushButton *calculate = driver.command(calculateCommand);
    if (direction == Direction::GrayToDecimal)
        scene.clickWithMouse(driver.option(grayToDecimalOption));

    std::vector<std::unique_ptr<EventCounter>> paints;
    for (int i = 0; i < fieldCount; ++i)
        paints.push_back(std::make_unique<EventCounter>(driver.field(i), QEvent::Paint));

    // Types the next input, leaves the focus where the user's is when the click comes, and
    // lets the window settle.
    bool flip = false;
    const auto prepare = [&] {
        flip = !flip;
        input->setFocus(Qt::MouseFocusReason);
        input->setText(flip ? inputs.first : inputs.second);
        if (trigger == Trigger::Space)
            calculate->setFocus(Qt::TabFocusReason);
        scene.settle();
    };
    const auto click = [&] {
        if (trigger == Trigger::Mouse)
            scene.clickWithMouse(calculate);
        else
            scene.press(Qt::Key_Space);
        scene.settle();
    };

    prepare(); // one click to warm the caches
    click();
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        const QStringList before = driver.texts();
        std::vector<int> paintsBefore;
        for (const auto &counter : paints)
            paintsBefore.push_back(counter->count);
        state.ResumeTiming();

        click();

        state.PauseTiming();
        const QStringList after = driver.texts();
        if (QApplication::focusWidget() != calculate) {
            state.SkipWithError("the focus is not on Calculate after the click");
            break;
        }
        if (after == before) {
            state.SkipWithError("the click changed no field");
            break;
        }
        for (int i = 0; i < fieldCount; ++i) {
            if (after[i] != before[i] && paints[i]->count == paintsBefore[i]) {
                state.SkipWithError("a changed field was not painted");
                break;
            }
        }
        state.ResumeTiming();
    }
}

// With the focus in an empty input field and a million characters on the clipboard: Ctrl+V
// until the field shows them.
void BM_PasteMillionCharacters(benchmark::State &state)
{
    Scene scene(state);
    QLineEdit *input = scene.driver().field(decimalField);
    const QString text = millionInputs().first;
    QApplication::clipboard()->setText(text);
    scene.clickWithMouse(input);
    for (auto _ : state) {
        state.PauseTiming();
        input->setText(QString());
        scene.settle();
        state.ResumeTiming();

        scene.press(Qt::Key_V, Qt::ControlModifier);
        scene.settle();

        state.PauseTiming();
        if (input->text().size() != text.size()) {
            state.SkipWithError("the paste did not arrive whole");
            break;
        }
        state.ResumeTiming();
    }
}

// The window at rest with a million characters in the focused input field, made to repaint
// all of itself, as when it is uncovered.
void BM_RepaintWithMillionCharacters(benchmark::State &state)
{
    Scene scene(state);
    QLineEdit *input = scene.driver().field(decimalField);
    scene.clickWithMouse(input);
    input->setText(millionInputs().first);
    scene.settle();
    QWidget *window = input->window();
    for (auto _ : state) {
        window->repaint();
        reachDisplay();
    }
}

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// The window left alone for ten seconds with a million characters in the focused input field
// and its cursor blinking; reports the share of one core that the whole process used.
void BM_IdleWithMillionCharacters(benchmark::State &state)
{
    Scene scene(state);
    QLineEdit *input = scene.driver().field(decimalField);
    scene.clickWithMouse(input);
    input->setText(millionInputs().first);
    scene.settle();
    EventCounter paints(input, QEvent::Paint);
    for (auto _ : state) {
        QElapsedTimer wall;
        wall.start();
        const double cpuBefore = processSeconds();
        QTest::qWait(10'000);
        const double cpu = processSeconds() - cpuBefore;
        state.counters["core_percent"] = 100 * cpu / (double(wall.nsecsElapsed()) / 1e9);
        state.counters["field_paints"] = paints.count;
    }
}

// The word at the end of a million characters, which Qt 6.4's own line-edit interface never
// answers.
void BM_WordAtEndOfMillionCharacters(benchmark::State &state)
{
    Pelmora window;
    WindowDriver driver(&window);
    const int million = 1'000'000;
    driver.field(pelmora::decimalField)->setText(QString(million - 1, u' ') + u'5');
    QAccessibleTextInterface *text =
        QAccessible::queryAccessibleInterface(driver.field(pelmora::decimalField))->textInterface();
    for (auto _ : state) {
        int start = 0;
        int end = 0;
        benchmark::DoNotOptimize(
            text->textAtOffset(million, QAccessible::WordBoundary, &start, &end));
    }
}

// A range's extents over a million characters as Qt's AT-SPI bridge finds them, asking for every
// character's rectangle in turn, after a change of the text.
void BM_RangeExtentsOfMillionCharacters(benchmark::State &state)
{
    Pelmora window;
    WindowDriver driver(&window);
    QLineEdit *field = driver.field(pelmora::decimalField);
    const int million = 1'000'000;
    QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(field)->textInterface();
    for (auto _ : state) {
        state.PauseTiming();
        field->setText(QString(million, u'7'));
        QCoreApplication::processEvents();
        state.ResumeTiming();
        QRect extents = text->characterRect(0);
        for (int offset = 1; offset < million; ++offset)
            extents |= text->characterRect(offset);
        benchmark::DoNotOptimize(extents);
    }
}

} // namespace

// One event per repetition, reported as min, median and max (with Google Benchmark's mean and
// deviation) over the repetitions.
template <int Repetitions> void eachEvent(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(Repetitions)
        ->ComputeStatistics("min", minimum)
        ->ComputeStatistics("max", maximum)
        ->ReportAggregatesOnly(true);
}

BENCHMARK_CAPTURE(BM_Calculate, decimal_short_mouse, Direction::DecimalToGray, false,
                  Trigger::Mouse)
    ->Apply(eachEvent<30>);
BENCHMARK_CAPTURE(BM_Calculate, decimal_short_space, Direction::DecimalToGray, false,
                  Trigger::Space)
    ->Apply(eachEvent<30>);
BENCHMARK_CAPTURE(BM_Calculate, gray_short_mouse, Direction::GrayToDecimal, false, Trigger::Mouse)
    ->Apply(eachEvent<30>);
BENCHMARK_CAPTURE(BM_Calculate, gray_short_space, Direction::GrayToDecimal, false, Trigger::Space)
    ->Apply(eachEvent<30>);
BENCHMARK_CAPTURE(BM_Calculate, decimal_million_mouse, Direction::DecimalToGray, true,
                  Trigger::Mouse)
    ->Apply(eachEvent<15>);
BENCHMARK_CAPTURE(BM_Calculate, decimal_million_space, Direction::DecimalToGray, true,
                  Trigger::Space)
    ->Apply(eachEvent<15>);
BENCHMARK_CAPTURE(BM_Calculate, gray_million_mouse, Direction::GrayToDecimal, true, Trigger::Mouse)
    ->Apply(eachEvent<15>);
BENCHMARK_CAPTURE(BM_Calculate, gray_million_space, Direction::GrayToDecimal, true, Trigger::Space)
    ->Apply(eachEvent<15>);
BENCHMARK(BM_PasteMillionCharacters)->Apply(eachEvent<15>);
BENCHMARK(BM_RepaintWithMillionCharacters)->Apply(eachEvent<15>);
BENCHMARK(BM_IdleWithMillionCharacters)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_WordAtEndOfMillionCharacters)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RangeExtentsOfMillionCharacters)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    // As the program's entry does: screen readers get the fields' own interface.
    widgets::installAccessibleInterfaces();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
