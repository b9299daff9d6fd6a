// system/error.cpp - the error box, the information box and the question.
//
// Every failing engine operation ends in ovSystem::Error, which shows
// "context : message" and returns 0 for the operation to pass on. Texts are
// composed in 256-byte buffers and cut at a character boundary when too long.

#include "system/system.h"

#include "draw/draw_internal.h"
#include "platform/boxes.h"
#include "platform/window.h"
#include "sound/sound.h"
#include "system/sjis_text.h"
#include "system/texts.h"

#include <cstdarg>

namespace ovSystem {

int Error(const char* context, const char* message, int code)
{
    (void)code;  // the system result is for a debugger, not for the box
    char text[ov::TEXT_BUFFER];
    ov::CopyText(text, sizeof(text), context ? context : "");
    ov::AppendText(text, sizeof(text), texts::kContextSeparator);
    ov::AppendText(text, sizeof(text), message ? message : "");
    if (ovDraw::detail::DeviceExists()) ovDraw::detail::ShowDesktopSurface();
    ovSound::Beep();
    MessageBoxA(WindowHandle, text, texts::kErrorCaption, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return 0;
}

namespace {

// Steps shared by the information box and the question: the text with its
// line break, the visible desktop surface, the cursor shown, the flag set.
void PrepareBox(char* text, std::size_t size, const char* format, std::va_list args)
{
    ov::FormatText(text, size - 2, format, args);  // room for "\r\n"
    ov::AppendText(text, size, "\r\n");
    if (ovDraw::detail::DeviceExists()) ovDraw::detail::ShowDesktopSurface();
    if (CursorShown == 0) {
        ShowCursor(TRUE);
        CursorShown = 1;
    }
    MessageBoxOpen = 1;
}

}  // namespace

void Message(const char* format, ...)
{
    char text[ov::TEXT_BUFFER];
    std::va_list args;
    va_start(args, format);
    PrepareBox(text, sizeof(text), format, args);
    va_end(args);
    MessageBoxA(WindowHandle, text, texts::kMessageCaption, MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    MessageBoxOpen = 0;
    ResetFrameTime();
}

int Question(const char* format, ...)
{
    char text[ov::TEXT_BUFFER];
    std::va_list args;
    va_start(args, format);
    PrepareBox(text, sizeof(text), format, args);
    va_end(args);
    int answer = MessageBoxA(WindowHandle, text, texts::kMessageCaption, MB_YESNO | MB_ICONQUESTION);
    MessageBoxOpen = 0;
    ResetFrameTime();
    return answer == IDYES ? 1 : 0;
}

}  // namespace ovSystem
