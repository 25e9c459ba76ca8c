// Measures how long programs take from start to a painted window, and how much
// memory they hold then, on the X display in DISPLAY.
//
//   startup_probe RUNS PROGRAM...
//
// Runs the programs in turn, RUNS rounds after one uncounted round, and
// prints for each the median of
//   map     milliseconds until its first top-level window is mapped,
//   paint   milliseconds until that window's first drawing (X Damage),
//   rss     resident memory at that moment (KiB, VmRSS),
//   pss     proportional set size at that moment (KiB; shared pages split),
//   cpu     processor time of all its threads, up to its stop right after
//           that drawing (ms); unlike the clock times, it hardly changes when
//           other work shares the machine.
// and then each program's medians as a multiple of the first program's.
// Each program is stopped with SIGTERM once measured. Run it on a display
// without a window manager (Xvfb), so nothing else maps or draws.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double mapMs = 0;
    double paintMs = 0;
    long rssKiB = 0;
    long pssKiB = 0;
    double cpuMs = 0;
};

int ignoreXErrors(Display* /*display*/, XErrorEvent* /*error*/)
{
    return 0; // windows of a stopped program vanish under our feet
}

long readKiB(const std::string& path, const std::string& field)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + field.size(), nullptr, 10);
    return -1;
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits up to timeoutMs for an X event; false on timeout.
bool nextEvent(Display* display, XEvent& event, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (XPending(display) == 0) {
        const int left = int(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (left <= 0)
            return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, left);
    }
    XNextEvent(display, &event);
    return true;
}

bool measure(Display* display, int damageEvent, const char* program, Sample& sample)
{
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, True);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execlp(program, program, static_cast<char*>(nullptr));
        std::perror(program);
        _exit(127);
    }

    std::set<Window> watched;
    Window mapped = None;
    bool ok = false;
    XEvent event;
    while (nextEvent(display, event, 10000)) {
        if (event.type == CreateNotify && event.xcreatewindow.parent == root) {
            // Watch every new top-level window from its creation on, so no
            // drawing can slip by before the map.
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
            watched.insert(event.xcreatewindow.window);
        } else if (event.type == MapNotify && mapped == None &&
                   watched.contains(event.xmap.window)) {
            mapped = event.xmap.window;
            sample.mapMs = msSince(start);
        } else if (event.type == damageEvent + XDamageNotify && mapped != None &&
                   reinterpret_cast<XDamageNotifyEvent&>(event).drawable == mapped) {
            sample.paintMs = msSince(start);
            const std::string proc = "/proc/" + std::to_string(pid);
            sample.rssKiB = readKiB(proc + "/status", "VmRSS:");
            sample.pssKiB = readKiB(proc + "/smaps_rollup", "Pss:");
            ok = true;
            break;
        }
    }
    kill(pid, SIGTERM);
    rusage usage{};
    wait4(pid, nullptr, 0, &usage);
    const auto ms = [](const timeval& t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    sample.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    XSelectInput(display, root, NoEventMask);
    XSync(display, True);
    return ok;
}

template <typename T>
T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM...\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    int damageEvent = 0;
    int damageError = 0;
    if (XDamageQueryExtension(display, &damageEvent, &damageError) == 0) {
        std::fprintf(stderr, "startup_probe: the display has no DAMAGE extension\n");
        return 1;
    }

    const int programs = argc - 2;
    // One round first, not counted, so every program starts with its files
    // in the page cache.
    for (int p = 0; p < programs; ++p) {
        Sample ignored;
        if (!measure(display, damageEvent, argv[p + 2], ignored)) {
            std::fprintf(stderr, "startup_probe: %s showed no window\n", argv[p + 2]);
            return 1;
        }
    }
    std::vector<std::vector<Sample>> samples(static_cast<std::size_t>(programs));
    for (int run = 0; run < runs; ++run) {
        for (int p = 0; p < programs; ++p) {
            Sample sample;
            if (!measure(display, damageEvent, argv[p + 2], sample)) {
                std::fprintf(stderr, "startup_probe: %s showed no window\n", argv[p + 2]);
                return 1;
            }
            samples[std::size_t(p)].push_back(sample);
        }
    }

    std::vector<Sample> medians;
    std::printf("%-40s %8s %8s %8s %10s %10s\n", "program (median)", "map ms", "paint ms", "cpu ms",
                "rss KiB", "pss KiB");
    for (int p = 0; p < programs; ++p) {
        std::vector<double> map;
        std::vector<double> paint;
        std::vector<double> cpu;
        std::vector<long> rss;
        std::vector<long> pss;
        for (const Sample& s : samples[std::size_t(p)]) {
            map.push_back(s.mapMs);
            paint.push_back(s.paintMs);
            cpu.push_back(s.cpuMs);
            rss.push_back(s.rssKiB);
            pss.push_back(s.pssKiB);
        }
        std::printf("%-40s %8.1f %8.1f %8.1f %10ld %10ld\n", argv[p + 2], median(map),
                    median(paint), median(cpu), median(rss), median(pss));
        medians.push_back({median(map), median(paint), median(rss), median(pss), median(cpu)});
    }
    for (int p = 1; p < programs; ++p) {
        const Sample& first = medians.front();
        const Sample& other = medians[std::size_t(p)];
        std::printf("%s / %s: paint %.2fx, cpu %.2fx, rss %.2fx, pss %.2fx\n", argv[p + 2], argv[2],
                    other.paintMs / first.paintMs, other.cpuMs / first.cpuMs,
                    double(other.rssKiB) / double(first.rssKiB),
                    double(other.pssKiB) / double(first.pssKiB));
    }
    XCloseDisplay(display);
    return 0;
}
