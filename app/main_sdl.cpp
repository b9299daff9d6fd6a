// app/main_sdl.cpp - the toy's process entry on a real desktop: start the
// SDL backend, install the fortune application, run the engine's entry point.
//
// Without a display the program says so in one line and exits with 1.

#include "app/fortune.h"
#include "platform/platform.h"
#include "system/system.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const char* reason = nullptr;
    if (!ovPlatform::Start("sdl", &reason)) {
        std::fprintf(stderr, "fuurin: %s\n", reason ? reason : "cannot start");
        return 1;
    }
    // The command line as one string, as the entry point receives it.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    ovSystem::detail::InstallApplication(&ovApp::FortuneApplication);
    ovSystem::detail::StaticInitialise();
    int exitCode = WinMain(nullptr, nullptr, commandLine.data(), SW_SHOWNORMAL);
    ovPlatform::Stop();
    return exitCode;
}
