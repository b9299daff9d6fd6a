// benchmarks/bench_display.cpp - display start-up and surface copies and
// fills, beside SDL's software blitter and plain memcpy/memset on the same
// 16-bit 5-6-5 pixels.

#include "draw/draw.h"
#include "draw/objects.h"
#include "input/input.h"
#include "platform/ddraw.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "system/system.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

struct Backend {
    Backend()
    {
        ovPlatform::Start("headless");
        ovPlatform::headless::SetRowPadding(0);
    }
    ~Backend() { ovPlatform::Stop(); }
};

IDirectDrawSurface* Make(IDirectDraw* dd, int w, int h)
{
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = static_cast<DWORD>(w);
    desc.dwHeight = static_cast<DWORD>(h);
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
    IDirectDrawSurface* s = nullptr;
    dd->CreateSurface(&desc, &s, nullptr);
    return s;
}

// A source with a quarter of its pixels equal to the key 0.
void Pattern(IDirectDrawSurface* s)
{
    DDSURFACEDESC desc{};
    desc.dwSize = sizeof(desc);
    s->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr);
    for (DWORD y = 0; y < desc.dwHeight; ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(desc.lpSurface) + y * desc.lPitch);
        for (DWORD x = 0; x < desc.dwWidth; ++x) row[x] = ((x + y) % 4) ? static_cast<std::uint16_t>(x * 31 + y) : 0;
    }
    s->Unlock(nullptr);
}

void BM_ScreenStartUp(benchmark::State& state)
{
    for (auto _ : state) {
        Backend backend;
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "BENCH";
        RegisterClassA(&wc);
        ovSystem::WindowHandle = CreateWindowExA(0, "BENCH", "bench", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                                 nullptr, nullptr);
        ovDraw::FullScreen = 0;
        benchmark::DoNotOptimize(ovDraw::Screen(640, 480, 2));
        ovDraw::ReleaseScreen();
    }
}
BENCHMARK(BM_ScreenStartUp)->Unit(benchmark::kMillisecond);

void BM_BltFast(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = w * 3 / 4;
    const bool keyed = state.range(1) != 0;
    Backend backend;
    IDirectDraw* dd = nullptr;
    DirectDrawCreate(nullptr, &dd, nullptr);
    IDirectDrawSurface* src = Make(dd, w, h);
    IDirectDrawSurface* dest = Make(dd, w, h);
    Pattern(src);
    DDCOLORKEY key{0, 0};
    src->SetColorKey(DDCKEY_SRCBLT, &key);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            dest->BltFast(0, 0, src, nullptr, (keyed ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY) | DDBLTFAST_WAIT));
    state.SetBytesProcessed(state.iterations() * w * h * 2);
    src->Release();
    dest->Release();
    dd->Release();
}
BENCHMARK(BM_BltFast)->Args({64, 0})->Args({64, 1})->Args({640, 0})->Args({640, 1});

void BM_SdlBlit(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = w * 3 / 4;
    const bool keyed = state.range(1) != 0;
    SDL_Surface* src = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
    SDL_Surface* dest = SDL_CreateRGBSurfaceWithFormat(0, w, h, 16, SDL_PIXELFORMAT_RGB565);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(src->pixels) + y * src->pitch);
        for (int x = 0; x < w; ++x) row[x] = ((x + y) % 4) ? static_cast<std::uint16_t>(x * 31 + y) : 0;
    }
    if (keyed) SDL_SetColorKey(src, SDL_TRUE, 0);
    for (auto _ : state) benchmark::DoNotOptimize(SDL_BlitSurface(src, nullptr, dest, nullptr));
    state.SetBytesProcessed(state.iterations() * w * h * 2);
    SDL_FreeSurface(src);
    SDL_FreeSurface(dest);
}
BENCHMARK(BM_SdlBlit)->Args({64, 0})->Args({64, 1})->Args({640, 0})->Args({640, 1});

void BM_Memcpy(benchmark::State& state)
{
    const int w = static_cast<int>(state.range(0)), h = w * 3 / 4;
    std::vector<std::uint16_t> src(static_cast<std::size_t>(w) * h, 1), dest(src.size());
    for (auto _ : state) {
        std::memcpy(dest.data(), src.data(), src.size() * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * w * h * 2);
}
BENCHMARK(BM_Memcpy)->Arg(64)->Arg(640);

void BM_ColorFill(benchmark::State& state)
{
    Backend backend;
    IDirectDraw* dd = nullptr;
    DirectDrawCreate(nullptr, &dd, nullptr);
    IDirectDrawSurface* dest = Make(dd, 640, 480);
    DDBLTFX fx{};
    fx.dwSize = sizeof(fx);
    fx.dwFillColor = 0x1234;
    for (auto _ : state) benchmark::DoNotOptimize(dest->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx));
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 2);
    dest->Release();
    dd->Release();
}
BENCHMARK(BM_ColorFill);

void BM_SdlFillRect(benchmark::State& state)
{
    SDL_Surface* dest = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 16, SDL_PIXELFORMAT_RGB565);
    for (auto _ : state) benchmark::DoNotOptimize(SDL_FillRect(dest, nullptr, 0x1234));
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 2);
    SDL_FreeSurface(dest);
}
BENCHMARK(BM_SdlFillRect);

void BM_Memset(benchmark::State& state)
{
    std::vector<std::uint16_t> dest(640 * 480);
    for (auto _ : state) {
        std::memset(dest.data(), 0x12, dest.size() * 2);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 640 * 480 * 2);
}
BENCHMARK(BM_Memset);

}  // namespace

BENCHMARK_MAIN();
