// system/depth_check.cpp - the colour-depth check an application runs before
// ovDraw::Screen to choose between windowed and full-screen play.
//
// In a window the display takes the desktop's depth, so when the desktop has
// fewer colours than the application asks for, the user is warned and asked
// to switch to full screen (and, with a settings name, to keep that choice in
// a one-integer file for the next start), or the program quits.
//
// LIMITATIONS: none beyond its dependencies.
// DEPENDENCIES: ovDraw::DisplayDepth, ovDraw::DesktopDepth, ovDraw::FullScreen;
// ovSystem::IsWindowed and ovSystem::Quit (the shell); Message and Question;
// SaveInt.

#include "system/sjis_text.h"
#include "system/system.h"
#include "system/texts.h"

#include "draw/draw.h"

#include <cstring>

namespace ovSystem {

int CheckColorDepth(const char* settingsName)
{
    static const char* const kColourNames[4] = {texts::kColors16, texts::kColors256, texts::kColors65536,
                                               texts::kColorsFullColour};
    int k;
    switch (ovDraw::DisplayDepth) {
    case 8: k = 1; break;
    case 16: k = 2; break;
    case 24:
    case 32: k = 3; break;
    default: return 1;
    }
    if (IsWindowed() == 0) return 1;
    if (ovDraw::DesktopDepth() >= ovDraw::DisplayDepth) return 1;

    char format[ov::TEXT_BUFFER];
    ov::CopyText(format, sizeof(format), texts::kDepthWarningWindowed);
    ov::AppendText(format, sizeof(format), texts::kDepthWarningScreen);
    ov::AppendText(format, sizeof(format), texts::kDepthWarningAdvice);
    ov::AppendText(format, sizeof(format), texts::kDepthWarningFullScreen);
    Message(format, kColourNames[k - 1], kColourNames[k]);

    const char* name = settingsName ? settingsName : "";
    const char* question = nullptr;
    if (std::strcmp(name, "*") == 0) question = texts::kDepthQuestionSwitch;
    else if (name[0]) question = texts::kDepthQuestionSettings;
    if (!question || Question("%s", question) == 0) {
        Quit();
        return 0;
    }
    if (std::strcmp(name, "*") != 0) SaveInt(name, 1);
    ovDraw::FullScreen = 1;
    return 1;
}

}  // namespace ovSystem
