// benchmarks/bench_shell.cpp - the cost of one frame-loop iteration with an
// empty scene on the headless backend, beside an empty loop as the floor.
//
// Each benchmark run starts the headless backend and the real entry point;
// the per-frame script ends the program once the benchmark has its
// iterations, so the timed work is exactly the loop's own steps: the message
// poll, frame timing, scene dispatch, blink, click flags and cursor test.

#include "app/fortune.h"
#include "draw/draw.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "system/system.h"

#include <benchmark/benchmark.h>

namespace {

void Startup() { ovSystem::SceneNumber = 1; }
void EmptyScene() {}
void NoActivate(int) {}
void NoKeys(int) {}
const ovSystem::detail::Application kEmptyApp = {Startup, NoActivate, NoKeys, {nullptr, EmptyScene}};

void BM_FrameLoopEmptyScene(benchmark::State& state)
{
    ovPlatform::Start("headless");
    // A fresh program each run: the quit sequence ran at the end of the last one.
    ovSystem::QuitDone = 0;
    ovSystem::CloseState = 0;
    ovSystem::PreviousScene = 0;
    ovSystem::CursorShown = 1;
    ovSystem::Active = 0;
    ovPlatform::headless::SetFrameHook([&state](unsigned) {
        ovPlatform::headless::Advance(16);
        if (!state.KeepRunning()) ovPlatform::headless::CloseBox();
    });
    ovSystem::detail::InstallApplication(&kEmptyApp);
    ovSystem::detail::StaticInitialise();
    char commandLine[] = "";
    WinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL);
    ovPlatform::Stop();
}
BENCHMARK(BM_FrameLoopEmptyScene);

// One frame of the toy once its draw has stopped (Clear, Stretch, three
// Prints, Flip), on the headless backend without the refresh wait.
void BM_ToyStoppedFrame(benchmark::State& state)
{
    ovPlatform::Start("headless");
    ovSystem::QuitDone = 0;
    ovSystem::CloseState = 0;
    ovSystem::PreviousScene = 0;
    ovSystem::CursorShown = 1;
    ovSystem::Active = 0;
    ovApp::SpinCounter = 1;
    ovApp::StepCounter = 0;
    ovApp::Face = 0;
    ovPlatform::headless::SetFrameHook([&state](unsigned frame) {
        if (frame == 2) {
            ovApp::RandomOffset = 0;  // the draw stops on frame 328
            ovDraw::SetVSync(0);
        }
        if (frame > 340 && !state.KeepRunning()) ovPlatform::headless::CloseBox();
    });
    ovSystem::detail::InstallApplication(&ovApp::FortuneApplication);
    ovSystem::detail::StaticInitialise();
    char commandLine[] = "";
    WinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL);
    ovPlatform::Stop();
}
BENCHMARK(BM_ToyStoppedFrame);

void BM_EmptyLoopFloor(benchmark::State& state)
{
    unsigned n = 0;
    for (auto _ : state) {
        ++n;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_EmptyLoopFloor);

}  // namespace

BENCHMARK_MAIN();
