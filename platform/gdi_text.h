// platform/gdi_text.h - fonts and text on device contexts.
//
// A font is made from a LOGFONTA record, selected into a DC with
// SelectObject (platform/gdi.h) and freed with DeleteObject once it is no
// longer selected. Text is Shift-JIS bytes. It is drawn with the DC's text
// colour; in OPAQUE background mode (a fresh DC's) the text's cell box is
// first filled with the background colour, in TRANSPARENT mode only the
// glyphs' pixels change. Glyphs are not smoothed: every pixel is the text
// colour or left as it was.
//
// Heights follow the LOGFONTA convention: a positive lfHeight is the cell
// height (ascent + descent), a negative one the character height, 0 a
// default size. lfWidth 0 keeps the face's aspect. lfEscapement turns the
// text counter-clockwise in tenths of a degree about its reference point,
// the top-left of the first character's cell. A DC without a selected font
// draws with the default font: the standard Gothic face, 16-pixel cells.
//
// Faces: "標準明朝" is the Japanese serif face, "標準ゴシック" the Japanese
// sans-serif face; other names get the installed face that matches best.
// Without any face text measures as usual but draws nothing.
#pragma once

#include "platform/types.h"

using HFONT = PlatformGdiObject*;

// * * * Constants * * *

inline constexpr int LF_FACESIZE = 32;

inline constexpr LONG FW_DONTCARE = 0;   // lfWeight: the default weight (normal)
inline constexpr LONG FW_NORMAL = 400;
inline constexpr LONG FW_BOLD = 700;

inline constexpr BYTE ANSI_CHARSET = 0;
inline constexpr BYTE SYMBOL_CHARSET = 2;
inline constexpr BYTE SHIFTJIS_CHARSET = 128;

inline constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;  // EnumFontsA: every face reported is scalable

// DrawTextA formats.
inline constexpr UINT DT_LEFT = 0x00000000;
inline constexpr UINT DT_CENTER = 0x00000001;
inline constexpr UINT DT_RIGHT = 0x00000002;
inline constexpr UINT DT_WORDBREAK = 0x00000010;
inline constexpr UINT DT_NOCLIP = 0x00000100;
inline constexpr UINT DT_CALCRECT = 0x00000400;
inline constexpr UINT DT_NOPREFIX = 0x00000800;

// * * * Records * * *

// The font description: 60 bytes, in this field order.
struct LOGFONTA {
    LONG lfHeight;          // pixels: > 0 cell height, < 0 character height, 0 default
    LONG lfWidth;           // average character width in pixels; 0 keeps the aspect
    LONG lfEscapement;      // tenths of a degree, counter-clockwise
    LONG lfOrientation;     // ignored (glyphs turn with the escapement)
    LONG lfWeight;          // 0 default (normal), 400 normal, 700 bold; 1..1000
    BYTE lfItalic;          // not 0: italic
    BYTE lfUnderline;       // not 0: underlined
    BYTE lfStrikeOut;       // not 0: struck out
    BYTE lfCharSet;         // 128 Shift-JIS (favours faces covering Japanese), 2 symbol, 0 others
    BYTE lfOutPrecision;    // ignored
    BYTE lfClipPrecision;   // ignored
    BYTE lfQuality;         // ignored: glyphs are never smoothed
    BYTE lfPitchAndFamily;  // ignored
    char lfFaceName[LF_FACESIZE];  // Shift-JIS, NUL-terminated within the 32 bytes (or all 32 used)
};
static_assert(sizeof(LOGFONTA) == 60);

// What a DC's font measures, in pixels.
struct TEXTMETRICA {
    LONG tmHeight;          // cell height: ascent + descent
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading; // cell height - character height
    LONG tmExternalLeading; // 0
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmCharSet;
};

// Called once per font; return 0 to stop the enumeration, anything else to go on.
using FONTENUMPROCA = int (*)(const LOGFONTA* logFont, const TEXTMETRICA* metrics, DWORD fontType, LPARAM data);

// * * * Fonts * * *

// Never null for a record (the face is chosen here); null for a null record.
HFONT CreateFontIndirectA(const LOGFONTA* logFont);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);

// With face null: one font per installed family, the two standard faces
// first, each with lfFaceName and lfCharSet set (128 for families covering
// Japanese, 2 for symbol families, 0 for the rest), lfHeight 16 and
// lfWeight 400; metrics carry tmCharSet and tmWeight only. With a face
// name: that family alone, if installed. Returns the callback's last
// result, or 1 when it was never called.
int EnumFontsA(HDC dc, const char* face, FONTENUMPROCA callback, LPARAM data);

// * * * Text * * *

// Draws count bytes at (x, y), the top-left of the text's cell. FALSE for a
// bad DC or text; drawing is clipped to the DC's target.
BOOL TextOutA(HDC dc, int x, int y, const char* text, int count);
// Width (the sum of the advances) and cell height of count bytes of text.
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size);

// Draws text (count bytes, or up to its terminator with count -1) in rect,
// one line under the other, each line a cell high and clipped to rect
// (unless DT_NOCLIP). Lines end at "\r\n", "\n" and "\r"; with
// DT_WORDBREAK they also wrap at rect's width: single-byte text at spaces
// (which vanish at the break), double-byte text between any two characters;
// a word wider than the box keeps a line of its own. DT_CENTER and DT_RIGHT
// place each line in the box's width. Without DT_NOPREFIX, "&x" draws as
// "x" and "&&" as "&" (no underline is drawn for the prefixed character).
// DT_CALCRECT draws nothing and sets rect's right to left + the widest
// line and its bottom to top + the lines' height. Returns the height of the
// text (lines x cell height), 0 on failure.
int DrawTextA(HDC dc, const char* text, int count, RECT* rect, UINT format);
