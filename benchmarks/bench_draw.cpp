// benchmarks/bench_draw.cpp - the everyday drawing calls beside their anchors.
//
// The engine runs on the headless backend with a windowed 640 x 480 5-6-5
// display (rows padded past the width, as on the headless desktop). Each
// engine case is timed beside the SDL2 call that does the same work on RGB565
// surfaces of the same sizes, and the full-surface copies and fills beside
// memcpy and memset of the same bytes. Ratios go to docs/PERFORMANCE.md.

#include "draw/draw.h"
#include "input/input.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "system/system.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int kW = 640;
constexpr int kH = 480;

// Keyed images: about one pixel in four is the black key.
std::uint16_t SpritePixel(std::mt19937& rng)
{
    const auto v = static_cast<std::uint16_t>(rng() | 1);
    return (rng() & 3) == 0 ? 0 : v;
}

struct Engine {
    int sprite = 0;  // 64 x 48 keyed
    int image = 0;   // 640 x 480 keyed
    int strip = 0;   // 36 x 36: two 18 x 36 cells, like the toy's strip

    Engine()
    {
        ovPlatform::Start("headless");
        ovSystem::detail::StaticInitialise();
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "BENCH";
        RegisterClassA(&wc);
        HWND window = CreateWindowExA(0, "BENCH", "bench", WS_POPUP, 0, 0, kW, kH, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(window, SW_SHOW);
        ovSystem::WindowHandle = window;
        ovDraw::FullScreen = 0;
        ovDraw::Screen(kW, kH, 1);
        std::mt19937 rng(5);
        sprite = Make(64, 48, rng);
        image = Make(kW, kH, rng);
        strip = Make(36, 36, rng);
    }

    static int Make(int w, int h, std::mt19937& rng)
    {
        const int object = ovDraw::CreateObject(w, h, 2);
        IDirectDrawSurface* s = ovDraw::Objects[object].surface;
        DDSURFACEDESC desc{};
        desc.dwSize = sizeof(desc);
        s->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(desc.lpSurface) + y * desc.lPitch);
            for (int x = 0; x < w; ++x) row[x] = SpritePixel(rng);
        }
        s->Unlock(nullptr);
        return object;
    }
};

Engine& E()
{
    static Engine engine;
    return engine;
}

struct Sdl {
    SDL_Surface* screen;
    SDL_Surface* sprite;
    SDL_Surface* image;
    SDL_Surface* strip;
    SDL_Surface* toy;  // 180 x 360 target of the scaled blit

    Sdl()
    {
        SDL_Init(0);
        screen = New(kW, kH);
        sprite = New(64, 48);
        image = New(kW, kH);
        strip = New(36, 36);
        toy = New(180, 360);
        std::mt19937 rng(5);
        for (SDL_Surface* s : {sprite, image, strip}) {
            for (int y = 0; y < s->h; ++y) {
                auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch);
                for (int x = 0; x < s->w; ++x) row[x] = SpritePixel(rng);
            }
        }
    }

    static SDL_Surface* New(int w, int h) { return SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565); }

    static void Key(SDL_Surface* s, bool on) { SDL_SetColorKey(s, on ? SDL_TRUE : SDL_FALSE, 0); }
};

Sdl& S()
{
    static Sdl sdl;
    return sdl;
}

// * * * Keyed 64 x 48 sprite, 100 times * * *

void Engine_PutSprite100(benchmark::State& state)
{
    Engine& e = E();
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) ovDraw::Put((i * 37) % (kW - 64), (i * 23) % (kH - 48), e.sprite, 0, 0, 64, 48);
    }
    state.SetItemsProcessed(state.iterations() * 100 * 64 * 48);
}
BENCHMARK(Engine_PutSprite100);

void Sdl_BlitKeyedSprite100(benchmark::State& state)
{
    Sdl& s = S();
    Sdl::Key(s.sprite, true);
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            SDL_Rect d{(i * 37) % (kW - 64), (i * 23) % (kH - 48), 64, 48};
            SDL_BlitSurface(s.sprite, nullptr, s.screen, &d);
        }
    }
    state.SetItemsProcessed(state.iterations() * 100 * 64 * 48);
}
BENCHMARK(Sdl_BlitKeyedSprite100);

// * * * Full 640 x 480 image: keyed, plain * * *

void Engine_PutFull(benchmark::State& state)
{
    Engine& e = E();
    for (auto _ : state) ovDraw::Put(0, 0, e.image, 0, 0, kW, kH);
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Engine_PutFull);

void Sdl_BlitKeyedFull(benchmark::State& state)
{
    Sdl& s = S();
    Sdl::Key(s.image, true);
    for (auto _ : state) SDL_BlitSurface(s.image, nullptr, s.screen, nullptr);
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Sdl_BlitKeyedFull);

void Engine_PutSolidFull(benchmark::State& state)
{
    Engine& e = E();
    for (auto _ : state) ovDraw::PutSolid(0, 0, e.image, 0, 0, kW, kH);
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Engine_PutSolidFull);

void Sdl_BlitFull(benchmark::State& state)
{
    Sdl& s = S();
    Sdl::Key(s.image, false);
    for (auto _ : state) SDL_BlitSurface(s.image, nullptr, s.screen, nullptr);
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Sdl_BlitFull);

void Anchor_MemcpyFull(benchmark::State& state)
{
    static std::vector<std::uint16_t> a(kW * kH, 1), b(kW * kH, 2);
    for (auto _ : state) {
        std::memcpy(b.data(), a.data(), a.size() * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Anchor_MemcpyFull);

// * * * Fill * * *

void Engine_Clear(benchmark::State& state)
{
    E();
    for (auto _ : state) ovDraw::Clear();
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Engine_Clear);

void Sdl_FillRect(benchmark::State& state)
{
    Sdl& s = S();
    for (auto _ : state) SDL_FillRect(s.screen, nullptr, 0);
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Sdl_FillRect);

void Anchor_MemsetFull(benchmark::State& state)
{
    static std::vector<std::uint16_t> a(kW * kH, 1);
    for (auto _ : state) {
        std::memset(a.data(), 0, a.size() * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Anchor_MemsetFull);

// * * * The toy's stretch: 18 x 36 onto 180 x 360 * * *

void Engine_StretchToy(benchmark::State& state)
{
    Engine& e = E();
    ovDraw::StretchCapable = static_cast<int>(state.range(0));
    for (auto _ : state) ovDraw::Stretch(0, 0, e.strip, 18, 0, 36, 36, 180, 360);
    state.SetLabel(state.range(0) ? "device blit" : "GDI + Put");
}
BENCHMARK(Engine_StretchToy)->Arg(1)->Arg(0);

void Sdl_BlitScaledToy(benchmark::State& state)
{
    Sdl& s = S();
    Sdl::Key(s.strip, true);
    SDL_Rect src{18, 0, 18, 36};
    for (auto _ : state) {
        SDL_Rect d{0, 0, 180, 360};
        SDL_BlitScaled(s.strip, &src, s.toy, &d);
    }
}
BENCHMARK(Sdl_BlitScaledToy);

// * * * Software routines * * *

void Engine_PutMirrorFull(benchmark::State& state)
{
    Engine& e = E();
    for (auto _ : state) ovDraw::PutMirror(0, 0, static_cast<int>(state.range(0)), e.image, 0, 0, kW, kH);
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Engine_PutMirrorFull)->Arg(0)->Arg(3);

void Engine_PutWave480(benchmark::State& state)
{
    Engine& e = E();
    ovSystem::FrameDelta = 0.016f;
    for (auto _ : state) ovDraw::PutWave(0, 0, 8, 2, 90.0f, e.image, 0, 0, kW, kH, 0);
    state.SetBytesProcessed(state.iterations() * kW * kH * 2);
}
BENCHMARK(Engine_PutWave480);

}  // namespace

BENCHMARK_MAIN();
