// draw/text/text.cpp - the font table, the shared font description, the
// open-text state and the plain text calls on top of GDI.
//
// Every Begin call writes the shared description, makes a font from it and
// selects it into a DC borrowed from the back buffer (or from the font
// buffer object); the End call undoes that. The realised font and its
// glyphs are cached below GDI, so making the same font every frame (as
// Text, Print and ShowFps do) costs a look-up.
//
// Beyond the design: a Begin call while text is open closes the open text
// first (openings cannot nest; a second GetDC on the same surface would
// fail and the first font would be lost); every call does nothing before
// the display exists (no back buffer, no description); face names are
// copied within the description's 32 bytes, cut at a character boundary;
// ShowFps compares the clock with the window end across the clock's wrap.
//
// LIMITATIONS: the description comes from the C allocator (zero-filled),
// not from a platform global-memory call.
// DEPENDENCIES: platform/gdi_text.h, draw/objects.h, system/sjis_text.h, platform/timer.h.

#include "draw/text/text.h"

#include "draw/objects.h"
#include "platform/timer.h"
#include "system/sjis_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ovDraw {

FontEntry FontTable[ov::MAX_FONTS];
int FontCount = 0;
LOGFONTA* FontDescription = nullptr;
OpenTextState TextState{};
RECT TextRect{};
RECT MeasureRect{};
int TextCopyFlag = 0;

namespace detail {

FpsState Fps{0, 0.0f, 0.0f, 999.9f, 0, {}};

namespace {

constexpr char kStandardMincho[] = "\x95W\x8F\x80\x96\xBE\x92\xA9";  // 標準明朝
constexpr char kStandardGothic[] = "\x95W\x8F\x80\x83S\x83V\x83" "b\x83N";  // 標準ゴシック
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kNavy = RGB(0, 0, 128);

int EnumerateFace(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD, LPARAM)
{
    if (FontCount >= ov::MAX_FONTS) return 0;
    FontEntry& entry = FontTable[FontCount];
    ov::CopyText(entry.faceName, sizeof(entry.faceName), logFont->lfFaceName);
    entry.charSet = logFont->lfCharSet;
    entry.kind = logFont->lfCharSet == SHIFTJIS_CHARSET ? 1 : logFont->lfCharSet == SYMBOL_CHARSET ? 3 : 2;
    ++FontCount;
    return 1;
}

void SetFaceName(const char* name)
{
    // The description's face name holds 31 bytes and the terminator.
    ov::CopyText(FontDescription->lfFaceName, sizeof(FontDescription->lfFaceName), name ? name : "");
}

void SetStandardFace(int face)
{
    if (face == FACE_MINCHO) SetFaceName(kStandardMincho);
    else if (face == FACE_GOTHIC) SetFaceName(kStandardGothic);
}

// The character set of a named face from the font table, else Shift-JIS.
BYTE CharSetOf(const char* name)
{
    for (const FontEntry& entry : FontTable)
        if (std::strcmp(entry.faceName, name ? name : "") == 0) return entry.charSet;
    return SHIFTJIS_CHARSET;
}

void Describe(int height, int angle, int weight, int italic, int underline)
{
    FontDescription->lfHeight = height;
    FontDescription->lfWidth = 0;
    FontDescription->lfEscapement = angle * 10;
    FontDescription->lfWeight = weight;
    FontDescription->lfItalic = static_cast<BYTE>(italic & 0xFF);
    FontDescription->lfUnderline = static_cast<BYTE>(underline & 0xFF);
    FontDescription->lfCharSet = SHIFTJIS_CHARSET;
}

LONG WeightOf(int weight) { return weight == 0 ? FW_NORMAL : weight == 1 ? FW_BOLD : FW_DONTCARE; }

void CloseText()
{
    if (!TextState.dc) return;
    SelectObject(TextState.dc, TextState.previousFont);
    DeleteObject(TextState.font);
    if (TextState.surface) TextState.surface->ReleaseDC(TextState.dc);
    TextState.font = nullptr;
    TextState.previousFont = nullptr;
    TextState.dc = nullptr;
    TextState.surface = nullptr;
}

// Makes the font from the description and selects it into surface's DC.
void OpenText(IDirectDrawSurface* surface, int height)
{
    CloseText();
    TextState.height = height;
    TextState.font = CreateFontIndirectA(FontDescription);
    HDC dc = nullptr;
    if (!surface || FAILED(surface->GetDC(&dc)) || !dc) {
        DeleteObject(TextState.font);
        TextState.font = nullptr;
        return;
    }
    TextState.dc = dc;
    TextState.surface = surface;
    TextState.previousFont = SelectObject(dc, TextState.font);
}

bool Ready() { return FontDescription != nullptr; }

}  // namespace

void BuildFontTable()
{
    std::free(FontDescription);
    FontDescription = static_cast<LOGFONTA*>(std::calloc(1, sizeof(LOGFONTA)));
    for (FontEntry& entry : FontTable) entry = FontEntry{{}, -1, 0};
    FontCount = 0;
    HDC dc = nullptr;
    if (BackBuffer && SUCCEEDED(BackBuffer->GetDC(&dc)) && dc) {
        EnumFontsA(dc, nullptr, EnumerateFace, 0);
        BackBuffer->ReleaseDC(dc);
    }
    TextCopyFlag = 1;
}

void ReleaseFontDescription()
{
    CloseText();
    std::free(FontDescription);
    FontDescription = nullptr;
}

void InitFpsWindow() { Fps.windowEnd = timeGetTime(); }

}  // namespace detail

using namespace detail;

void BeginText(int face, int height, int angle, int weight, int italic, int underline)
{
    if (!Ready()) return;
    SetStandardFace(face);
    Describe(height, angle, static_cast<int>(WeightOf(weight)), italic, underline);
    OpenText(BackBuffer, height);
}

void BeginTextFace(const char* name, int height, int angle, int weight, int italic, int underline)
{
    if (!Ready()) return;
    SetFaceName(name);
    Describe(height, angle, static_cast<int>(WeightOf(weight)), italic, underline);
    FontDescription->lfCharSet = CharSetOf(name);
    OpenText(BackBuffer, height);
}

void EndText() { CloseText(); }

void TextColor(COLORREF text, COLORREF back, int transparent)
{
    TextState.textColor = text;
    TextState.backColor = back;
    if (!TextState.dc) return;
    SetTextColor(TextState.dc, text);
    SetBkColor(TextState.dc, back);
    if (transparent != 0) SetBkMode(TextState.dc, TRANSPARENT);
}

void PutText(int x, int y, const char* text)
{
    if (!TextState.dc || !text) return;
    TextOutA(TextState.dc, x, y, text, static_cast<int>(std::strlen(text)));
}

void BoxText(int left, int top, int right, int bottom, const char* text, int alignment)
{
    TextRect = RECT{left, top, right, bottom};
    if (!TextState.dc || !text) return;
    UINT format = DT_WORDBREAK | DT_NOPREFIX;
    if (alignment == 1) format |= DT_CENTER;
    else if (alignment == 2) format |= DT_RIGHT;
    else if (alignment != 0) return;
    DrawTextA(TextState.dc, text, -1, &TextRect, format);
}

int MeasureText(int left, int top, int right, int bottom, const char* text)
{
    MeasureRect = RECT{left, top, right, bottom};
    if (!TextState.dc || !text) return 0;
    return DrawTextA(TextState.dc, text, -1, &MeasureRect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
}

void Text(int x, int y, const char* text)
{
    BeginText(FACE_GOTHIC, 12, 0, 0, 0, 0);
    TextColor(kWhite, kNavy, 0);
    PutText(x, y, text);
    EndText();
}

void Print(int x, int y, const char* format, ...)
{
    char buffer[ov::TEXT_BUFFER];
    std::va_list args;
    va_start(args, format);
    ov::FormatText(buffer, sizeof(buffer), format ? format : "", args);
    va_end(args);
    Text(x, y, buffer);
}

void ShowFps()
{
    DWORD now = timeGetTime();
    if (static_cast<std::int32_t>(now - Fps.windowEnd) >= 0) {
        Fps.rate = static_cast<float>(Fps.frames) / 2.0f;
        if (Fps.rate > Fps.highest) Fps.highest = Fps.rate;
        if (Fps.rate > 0.0f && Fps.rate < Fps.lowest) Fps.lowest = Fps.rate;
        Fps.windowEnd = now + 2000;
        Fps.frames = 0;
    }
    if (Fps.frames < 999) ++Fps.frames;
    std::snprintf(Fps.text, sizeof(Fps.text), "%3.1f fps ( max %3.1f / min %3.1f )", Fps.rate, Fps.highest,
                  Fps.lowest);
    Text(0, 0, Fps.text);
}

void BeginBufferText(int face, int size)
{
    if (!Ready()) return;
    SetStandardFace(face);
    Describe(2 * size, 0, FW_NORMAL, 0, 0);
    OpenText(Objects[OBJECT_FONT_BUFFER].surface, 2 * size);
}

void BeginBufferTextFace(const char* name, int size)
{
    if (!Ready()) return;
    SetFaceName(name);
    Describe(2 * size, 0, FW_NORMAL, 0, 0);
    FontDescription->lfCharSet = CharSetOf(name);
    OpenText(Objects[OBJECT_FONT_BUFFER].surface, 2 * size);
}

void EndBufferText() { CloseText(); }

}  // namespace ovDraw
