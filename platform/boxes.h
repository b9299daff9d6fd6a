// platform/boxes.h - modal message boxes and the system beep.
//
// Texts and captions are Shift-JIS bytes; the backend converts them for the
// desktop. A box is modal: MessageBoxA returns once the user closed it. On the
// headless backend every box is recorded and answered from a queue of answers
// (IDOK, or the default button, when the queue is empty).
#pragma once

#include "platform/types.h"

inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_OKCANCEL = 0x00000001;
inline constexpr UINT MB_YESNO = 0x00000004;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_SYSTEMMODAL = 0x00001000;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// 0 when the box could not be shown.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT style);
BOOL MessageBeep(UINT type);  // 0xFFFFFFFF: the simple beep
