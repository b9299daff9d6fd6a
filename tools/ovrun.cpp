// tools/ovrun.cpp - run the toy on the headless backend: its real shell,
// window procedure and scenes, with scripted key presses and screenshots.
//
//   ovrun [--calendar SECONDS] [--frames N] [--press FRAME:KEY]... [--shot FRAME:FILE.png]...
//
// FRAME counts the frame loop's frames from 1 (frame 1 runs the load scene).
// KEY is space, tab, escape, or a virtual-key number (decimal or 0x hex); the
// press (WM_KEYDOWN, then WM_KEYUP) is posted before that frame runs. --shot
// writes what the window shows after that frame as a PNG. --calendar sets the
// calendar time the random generator is seeded from (default 1700000000).
// The clock advances by one refresh period (60 Hz) per presented frame. Every
// message box is printed on standard error as UTF-8 ("caption: text"). The
// exit code is the toy's; after N frames (default 600) without a quit the
// window is closed as a user would, and the exit code is 0.
//
// DEPENDENCIES: the headless backend, libpng.

#include "app/fortune.h"
#include "platform/core/sjis.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "system/system.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace hl = ovPlatform::headless;

namespace {

struct Shot {
    unsigned frame;
    std::string file;
    bool written;
};

int Usage(const char* why)
{
    if (why) std::fprintf(stderr, "ovrun: %s\n", why);
    std::fprintf(stderr,
                 "usage: ovrun [--calendar SECONDS] [--frames N] [--press FRAME:KEY]... [--shot FRAME:FILE.png]...\n"
                 "  KEY: space, tab, escape, or a virtual-key number\n");
    return 2;
}

bool ParseUnsigned(const std::string& text, unsigned long long* value)
{
    if (text.empty()) return false;
    char* end = nullptr;
    *value = std::strtoull(text.c_str(), &end, 0);
    return end && *end == '\0';
}

bool ParseKey(const std::string& text, int* key)
{
    if (text == "space") *key = VK_SPACE;
    else if (text == "tab") *key = VK_TAB;
    else if (text == "escape") *key = VK_ESCAPE;
    else {
        unsigned long long v;
        if (!ParseUnsigned(text, &v) || v == 0 || v > 255) return false;
        *key = static_cast<int>(v);
    }
    return true;
}

// "FRAME:REST" -> frame and rest.
bool SplitFrame(const std::string& arg, unsigned* frame, std::string* rest)
{
    auto colon = arg.find(':');
    unsigned long long f;
    if (colon == std::string::npos || !ParseUnsigned(arg.substr(0, colon), &f) || f == 0 || f > 100000000) {
        return false;
    }
    *frame = static_cast<unsigned>(f);
    *rest = arg.substr(colon + 1);
    return !rest->empty();
}

bool WritePng(const std::string& file, const hl::Image& image)
{
    if (image.width <= 0 || image.height <= 0) {
        std::fprintf(stderr, "ovrun: nothing has been shown yet for %s\n", file.c_str());
        return false;
    }
    FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "ovrun: cannot write %s\n", file.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            COLORREF c = image.Colour(x, y);
            row[static_cast<std::size_t>(x) * 3 + 0] = GetRValue(c);
            row[static_cast<std::size_t>(x) * 3 + 1] = GetGValue(c);
            row[static_cast<std::size_t>(x) * 3 + 2] = GetBValue(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    long long calendar = 1700000000;
    unsigned frames = 600;
    std::multimap<unsigned, int> presses;
    std::vector<Shot> shots;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") return Usage(nullptr), 0;
        if (i + 1 >= argc) return Usage(("missing value after " + a).c_str());
        std::string v = argv[++i];
        unsigned long long n;
        unsigned frame;
        std::string rest;
        if (a == "--calendar") {
            if (!ParseUnsigned(v, &n)) return Usage("--calendar wants whole seconds");
            calendar = static_cast<long long>(n);
        } else if (a == "--frames") {
            if (!ParseUnsigned(v, &n) || n == 0 || n > 100000000) return Usage("--frames wants a positive count");
            frames = static_cast<unsigned>(n);
        } else if (a == "--press") {
            int key;
            if (!SplitFrame(v, &frame, &rest) || !ParseKey(rest, &key)) return Usage("--press wants FRAME:KEY");
            presses.emplace(frame, key);
        } else if (a == "--shot") {
            if (!SplitFrame(v, &frame, &rest)) return Usage("--shot wants FRAME:FILE.png");
            shots.push_back(Shot{frame, rest, false});
        } else {
            return Usage(("unknown option " + a).c_str());
        }
    }

    if (!ovPlatform::Start("headless")) return Usage("the headless backend cannot start");
    hl::SetCalendarTime(calendar);
    hl::SetBoxHook([](const hl::BoxRecord& box) {
        std::fprintf(stderr, "%s: %s\n", ovPlatform::SjisToUtf8(box.caption.c_str()).c_str(),
                     ovPlatform::SjisToUtf8(box.text.c_str()).c_str());
    });

    bool shotFailed = false;
    unsigned lastPresents = 0, lastBlanks = 0;
    auto takeShots = [&](unsigned frameDone) {
        for (Shot& s : shots) {
            if (!s.written && s.frame == frameDone) {
                s.written = true;
                if (!WritePng(s.file, hl::WindowImage())) shotFailed = true;
            }
        }
    };
    hl::SetFrameHook([&](unsigned frame) {
        // One refresh period per presented frame, unless the refresh wait
        // already moved the clock.
        unsigned presents = hl::PresentCount(), blanks = hl::VerticalBlankCount();
        if (presents != lastPresents && blanks == lastBlanks) hl::Advance(frame % 3 == 0 ? 16 : 17);
        lastPresents = presents;
        lastBlanks = blanks;
        takeShots(frame - 1);
        if (frame > frames) {
            hl::CloseBox();
            return;
        }
        auto range = presses.equal_range(frame);
        for (auto it = range.first; it != range.second; ++it) hl::PressKey(it->second);
    });

    ovSystem::detail::InstallApplication(&ovApp::FortuneApplication);
    ovSystem::detail::StaticInitialise();
    char commandLine[] = "";
    int exitCode = WinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL);
    // A quit before a shot's frame: the window shows the last frame presented.
    for (Shot& s : shots) {
        if (!s.written && s.frame <= hl::FrameCount()) {
            s.written = true;
            if (!WritePng(s.file, hl::WindowImage())) shotFailed = true;
        }
    }
    for (const Shot& s : shots) {
        if (!s.written) std::fprintf(stderr, "ovrun: frame %u never ran; %s not written\n", s.frame, s.file.c_str());
    }
    ovPlatform::Stop();
    return shotFailed && exitCode == 0 ? 1 : exitCode;
}
