// Start-up benchmark: launches programs one after another on an X display and measures, for
// each launch, the wall time from starting the process until its window's first frame has been
// painted, and the peak resident memory while the window is shown.
//
// How it finds the first frame: it watches the root window for new top-level windows of the
// expected size, puts a DAMAGE monitor on such a window as soon as it is created (before it is
// mapped), and takes the first damage report, which arrives when the program first draws into
// the window. Qt creates its windows without a background, so the server paints nothing there
// by itself. The peak resident memory is the process's VmHWM a short while after that frame.
//
//   startup_bench [--rounds N] [--size WxH] NAME=PROGRAM NAME=PROGRAM ...
// The programs are launched interleaved (A B A B ...), each with QT_QPA_PLATFORM=xcb.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/damage.h>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Program
{
    std::string name;
    std::string path;
    std::vector<double> milliseconds;
    std::vector<double> peakKiB;
};

struct Launch
{
    double milliseconds;
    double peakKiB;
};

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

class Display
{
public:
    Display()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            fail("cannot connect to the X display (is DISPLAY set?)");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;

        const xcb_query_extension_reply_t *damage =
            xcb_get_extension_data(m_connection, &xcb_damage_id);
        if (damage == nullptr || !damage->present)
            fail("the X server has no DAMAGE extension");
        m_damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
        Reply<xcb_damage_query_version_reply_t> version(
            xcb_damage_query_version_reply(m_connection,
                                           xcb_damage_query_version(m_connection, 1, 1), nullptr),
            &std::free);

        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~Display() { xcb_disconnect(m_connection); }

    // Runs the program until its first frame, reads its peak memory, and ends it.
    Launch launch(const std::string &path, int width, int height)
    {
        drainEvents();
        const auto start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            execl(path.c_str(), path.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }

        xcb_damage_damage_t damage = 0;
        std::optional<Clock::time_point> firstFrame;
        const auto deadline = start + std::chrono::seconds(20);
        while (!firstFrame && Clock::now() < deadline) {
            xcb_generic_event_t *event = xcb_poll_for_event(m_connection);
            if (event == nullptr) {
                if (xcb_connection_has_error(m_connection))
                    fail("lost the X connection");
                std::this_thread::sleep_for(std::chrono::microseconds(50));
                continue;
            }
            const int type = event->response_type & 0x7F;
            if (type == XCB_CREATE_NOTIFY && damage == 0) {
                const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
                if (created->parent == m_root && created->width == width &&
                    created->height == height) {
                    damage = xcb_generate_id(m_connection);
                    xcb_damage_create(m_connection, damage, created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    xcb_flush(m_connection);
                }
            } else if (type == m_damageEvent && damage != 0) {
                const auto *notify = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                if (notify->damage == damage)
                    firstFrame = Clock::now();
            }
            std::free(event);
        }
        if (!firstFrame) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            fail(("no frame from " + path).c_str());
        }

        // Let the window settle, then read the peak of its resident memory.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const double peak = peakResidentKiB(pid);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        xcb_damage_destroy(m_connection, damage);
        xcb_flush(m_connection);
        return {std::chrono::duration<double, std::milli>(*firstFrame - start).count(), peak};
    }

private:
    [[noreturn]] static void fail(const char *message)
    {
        std::fprintf(stderr, "startup_bench: %s\n", message);
        std::exit(1);
    }

    void drainEvents()
    {
        xcb_flush(m_connection);
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    static double peakResidentKiB(pid_t pid)
    {
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("VmHWM:", 0) == 0)
                return std::strtod(line.c_str() + 6, nullptr);
        }
        return 0;
    }

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    int m_damageEvent = 0;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 != 0 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    int rounds = 15;
    int width = 481;
    int height = 393;
    std::vector<Program> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--rounds" && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else if (arg == "--size" && i + 1 < argc) {
            std::sscanf(argv[++i], "%dx%d", &width, &height);
        } else if (const auto eq = arg.find('='); eq != std::string::npos) {
            programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}});
        } else {
            std::fprintf(stderr,
                         "usage: startup_bench [--rounds N] [--size WxH] NAME=PROGRAM...\n");
            return 2;
        }
    }
    if (programs.empty() || rounds < 1)
        return 2;

    Display display;
    for (auto &program : programs) // one unmeasured launch each, to warm the file cache
        display.launch(program.path, width, height);

    std::printf("%-6s", "round");
    for (const auto &program : programs)
        std::printf(" %14s ms %10s MiB", program.name.c_str(), "");
    std::printf("\n");
    for (int round = 1; round <= rounds; ++round) {
        std::printf("%-6d", round);
        for (auto &program : programs) {
            const Launch launch = display.launch(program.path, width, height);
            program.milliseconds.push_back(launch.milliseconds);
            program.peakKiB.push_back(launch.peakKiB);
            std::printf(" %17.1f %14.1f", launch.milliseconds, launch.peakKiB / 1024);
        }
        std::printf("\n");
    }

    std::printf("\nmedians over %d rounds\n", rounds);
    for (const auto &program : programs) {
        std::printf("  %-10s first frame %7.1f ms   peak resident %7.1f MiB\n",
                    program.name.c_str(), median(program.milliseconds),
                    median(program.peakKiB) / 1024);
    }
    // Each program against the last one named (the baseline), pair by pair within a round.
    const Program &base = programs.back();
    for (std::size_t p = 0; p + 1 < programs.size(); ++p) {
        std::vector<double> timeRatios, memoryRatios;
        for (int r = 0; r < rounds; ++r) {
            timeRatios.push_back(programs[p].milliseconds[r] / base.milliseconds[r]);
            memoryRatios.push_back(programs[p].peakKiB[r] / base.peakKiB[r]);
        }
        std::printf("  %s / %s: time %.3f (median of pair ratios), peak memory %.3f\n",
                    programs[p].name.c_str(), base.name.c_str(), median(timeRatios),
                    median(memoryRatios));
    }
    return 0;
}
