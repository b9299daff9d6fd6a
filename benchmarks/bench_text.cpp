// benchmarks/bench_text.cpp - ovDraw::Print of one fortune line beside
// SDL2_ttf drawing the same line with the same face at the same size.
//
// Engine: ovDraw::Print at a 12-pixel cell in the standard Gothic face on a
// headless 180 x 360 16-bit display; each call makes the font, borrows the
// back buffer's DC, fills the navy box, draws the glyphs and gives it all
// back. Anchor: TTF_RenderUTF8_Solid of the same line (UTF-8) with the same
// face file opened once at the same pixel size (the 12-pixel cell is an
// 11-pixel em for that face), then SDL_BlitSurface onto a 180 x 360 5-6-5
// surface. The anchor draws no background box, so it does less work.

#include "draw/draw.h"
#include "draw/objects.h"
#include "draw/text/text.h"
#include "input/input.h"
#include "platform/core/font_raster.h"
#include "platform/core/sjis.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "system/system.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

constexpr char kFortuneLine[] = "\x97" "F\x90l\x82\xC6\x92\x87\x97\xC7\x82\xAD\x82\xE2\x82\xC1\x82\xC4";  // 友人と仲良くやって
constexpr char kStandardGothic[] = "\x95W\x8F\x80\x83S\x83V\x83" "b\x83N";  // 標準ゴシック

bool StartDisplay()
{
    if (!ovPlatform::Start("headless")) return false;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "BENCHTEXT";
    RegisterClassA(&wc);
    ovSystem::WindowHandle =
        CreateWindowExA(0, "BENCHTEXT", "bench", WS_POPUP, 0, 0, 180, 360, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(ovSystem::WindowHandle, SW_SHOW);
    ovDraw::FullScreen = 0;
    ovPlatform::headless::SetDesktopDepth(16);
    if (ovDraw::Screen(180, 360, 1) != 1) return false;
    return true;
}

void StopDisplay()
{
    ovDraw::detail::ReleaseFontDescription();
    ovDraw::ReleaseScreen();
    ovPlatform::Stop();
}

void BM_EnginePrintFortuneLine(benchmark::State& state)
{
    if (!StartDisplay()) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) {
        ovDraw::Print(10, 200, "%s", kFortuneLine);
        benchmark::ClobberMemory();
    }
    StopDisplay();
}
BENCHMARK(BM_EnginePrintFortuneLine);

void BM_AnchorSdlTtfFortuneLine(benchmark::State& state)
{
    // The same face file as the engine's standard Gothic face, at its em size.
    ovPlatform::fonts::FontSpec spec;
    spec.faceName = kStandardGothic;
    spec.height = 12;
    spec.charSet = 128;
    ovPlatform::fonts::FontRef engineFont = ovPlatform::fonts::OpenFont(spec);
    std::string path = ovPlatform::fonts::FacePath(*engineFont);
    const auto& m = ovPlatform::fonts::GetMetrics(*engineFont);
    int emPixels = static_cast<int>(std::lround(m.height - m.internalLeading));
    if (TTF_Init() != 0) {
        state.SkipWithError("TTF_Init failed");
        return;
    }
    TTF_Font* font = TTF_OpenFont(path.c_str(), emPixels);
    SDL_Surface* target = SDL_CreateRGBSurfaceWithFormat(0, 180, 360, 16, SDL_PIXELFORMAT_RGB565);
    if (!font || !target) {
        state.SkipWithError("no font or surface");
        return;
    }
    std::string utf8 = ovPlatform::SjisToUtf8(kFortuneLine);
    SDL_Color white{255, 255, 255, 255};
    for (auto _ : state) {
        SDL_Surface* line = TTF_RenderUTF8_Solid(font, utf8.c_str(), white);
        SDL_Rect at{10, 200, 0, 0};
        SDL_BlitSurface(line, nullptr, target, &at);
        SDL_FreeSurface(line);
        benchmark::ClobberMemory();
    }
    SDL_FreeSurface(target);
    TTF_CloseFont(font);
    TTF_Quit();
}
BENCHMARK(BM_AnchorSdlTtfFortuneLine);

}  // namespace

BENCHMARK_MAIN();
