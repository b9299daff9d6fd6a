// benchmarks/bench_idle.cpp - the real window's processor use on the SDL
// backend, measured under xvfb-run (xvfb-run -a build/benchmarks/bench_idle).
//
// Starts build/fuurin, waits for its window, and reads the process's user +
// system time over a 10-second window in two states:
//   * inactive: another window takes the focus, so the frame loop blocks in
//     WaitMessage (goal: 0% of a core);
//   * stopped draw: the toy is active, its draw has stopped and it redraws the
//     held face every refresh (goal: under 3% of a core).
// The counter "core_percent" is the share of one core used; the anchor in
// the same run is an idle process (sleep) measured the same way.

#include "tests/support/x11_window.h"

#include <X11/Xlib.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>

namespace x11 = ovtest::x11;

namespace {

const std::string kProgram = std::string(OV_BUILD_DIR) + "/fuurin";
constexpr int kSeconds = 10;

double MeasureCpuPercent(pid_t pid)
{
    double before = x11::CpuSeconds(pid);
    std::this_thread::sleep_for(std::chrono::seconds(kSeconds));
    double after = x11::CpuSeconds(pid);
    return (after - before) / kSeconds * 100.0;
}

void Measure(benchmark::State& state, bool inactive)
{
    if (!x11::Open()) {
        state.SkipWithError("no X display: run under xvfb-run");
        return;
    }
    pid_t pid = x11::Spawn(kProgram);
    x11::Window w;
    if (pid <= 0 || !x11::WaitForWindow("風鈴くじ", 10000, &w)) {
        state.SkipWithError("the toy's window did not appear");
        if (pid > 0) x11::WaitExit(pid, 0);
        return;
    }
    Display* d = XOpenDisplay(nullptr);
    ::Window other = 0;
    if (inactive) {
        other = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 50, 50, 0, 0, 0);
        XMapWindow(d, other);
        XSync(d, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        XSetInputFocus(d, other, RevertToParent, CurrentTime);
        XSync(d, False);
    }
    std::this_thread::sleep_for(std::chrono::seconds(6));  // the first draw stops after about 5 s
    double percent = 0;
    for (auto _ : state) percent = MeasureCpuPercent(pid);
    state.counters["core_percent"] = percent;
    x11::RequestClose(w);
    x11::WaitExit(pid, 5000);
    if (other) XDestroyWindow(d, other);
    XCloseDisplay(d);
    x11::Close();
}

void BM_ToyInactive(benchmark::State& state) { Measure(state, true); }
void BM_ToyStoppedDraw(benchmark::State& state) { Measure(state, false); }

void BM_AnchorSleepingProcess(benchmark::State& state)
{
    pid_t pid = x11::Spawn("/bin/sleep", {"30"});
    double percent = 0;
    for (auto _ : state) percent = MeasureCpuPercent(pid);
    state.counters["core_percent"] = percent;
    x11::WaitExit(pid, 0);
}

}  // namespace

BENCHMARK(BM_AnchorSleepingProcess)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ToyInactive)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ToyStoppedDraw)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
