// draw/text/text.h - ovDraw's fonts and plain text.
//
// Plain text is drawn by GDI straight onto the back buffer through the
// device context the back buffer lends. One shared font description (a
// LOGFONTA) is edited by every Begin call and keeps what a call set for the
// next one (notably the face name). A Begin call opens text (a font selected
// into a borrowed DC), the drawing calls use it, the matching End call
// closes it; openings do not nest. While text is open on the back buffer
// nothing else can draw there. Text, Print and ShowFps open and close text
// themselves. Texts are Shift-JIS; colours are COLORREF (0x00BBGGRR).
#pragma once

#include "platform/ddraw.h"
#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/types.h"
#include "system/config.h"

namespace ovDraw {

// * * * Fonts * * *

struct FontEntry {
    char faceName[36];  // the typeface's name as reported, NUL-terminated; "" empty
    int kind;           // -1 empty; 1 Japanese (character set 128); 3 symbol (2); 2 any other
    BYTE charSet;       // the typeface's character set as reported
};
extern FontEntry FontTable[ov::MAX_FONTS];  // built by ovDraw::Screen
extern int FontCount;                       // entries in use, 0..200
extern LOGFONTA* FontDescription;           // the shared font description; null before Screen and after Quit

// The open-text state.
struct OpenTextState {
    HFONT font;                   // the font made by the Begin call; null when text is closed
    HGDIOBJ previousFont;         // the font it replaced in the DC, put back at the end
    HDC dc;                       // the borrowed device context
    IDirectDrawSurface* surface;  // the surface that lent it (the back buffer or the font buffer object)
    int height;                   // the current text height (Begin's height, or 2 x size)
    COLORREF textColor;           // the last colours given to TextColor
    COLORREF backColor;
};
extern OpenTextState TextState;
extern RECT TextRect;             // the rectangle of the last BoxText
extern RECT MeasureRect;          // MeasureText's rectangle, widened or narrowed to the text
extern int TextCopyFlag;          // 1: the engine's own text copies its box to the back buffer

inline constexpr int FACE_MINCHO = 0;   // "標準明朝"
inline constexpr int FACE_GOTHIC = 1;   // "標準ゴシック"

// * * * Plain text * * *

// face 0 Mincho, 1 Gothic, other: the face of the previous call; height in
// pixels (positive: cell height); angle in degrees counter-clockwise; weight
// 0 normal, 1 bold, other the default; italic and underline 0 or 1.
void BeginText(int face, int height, int angle, int weight, int italic, int underline);
// The same with a face name; the font table gives its character set (128 when missing).
void BeginTextFace(const char* name, int height, int angle, int weight, int italic, int underline);
void EndText();                                           // font back, font deleted, DC returned
void TextColor(COLORREF text, COLORREF back, int transparent);  // transparent 0: opaque box of back
void PutText(int x, int y, const char* text);             // (x, y): the text's top-left
void BoxText(int left, int top, int right, int bottom, const char* text, int alignment);  // 0 left, 1 centre, 2 right; other draws nothing
int MeasureText(int left, int top, int right, int bottom, const char* text);  // the wrapped text's height; MeasureRect holds its box
void Text(int x, int y, const char* text);                // Gothic 12, white on opaque navy, in one call
void Print(int x, int y, const char* format, ...);        // as Text, printf-formatted into 256 bytes (cut at a character)
void ShowFps();                                           // counts a frame; draws the rate line at (0, 0)
void BeginBufferText(int face, int size);                 // height 2 x size, normal weight, on the font buffer object
void BeginBufferTextFace(const char* name, int size);
void EndBufferText();

}  // namespace ovDraw

namespace ovDraw::detail {

// Display start-up: the font description and the font table (ovDraw::Screen, after ovSystem::Reset).
void BuildFontTable();
// The quit sequence: free the font description (ovSystem::Quit, after the cursor is freed).
void ReleaseFontDescription();
// Before the entry point: the frames-per-second window starts now (ovSystem::detail::StaticInitialise).
void InitFpsWindow();

// Frames-per-second state.
struct FpsState {
    int frames;                 // calls in the current window, at most 999
    float rate;                 // frames / 2 of the last closed window
    float highest;              // start 0.0
    float lowest;               // start 999.9
    DWORD windowEnd;            // clock value that closes the window
    char text[64];
};
extern FpsState Fps;

}  // namespace ovDraw::detail
