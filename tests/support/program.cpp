// tests/support/program.cpp - the headless program runner for tests.

#include "tests/support/program.h"

namespace ovtest {

int RunProgram(const ovSystem::detail::Application& app, std::function<void(unsigned)> hook, unsigned maxFrames)
{
    namespace hl = ovPlatform::headless;
    hl::SetFrameHook([hook = std::move(hook), maxFrames](unsigned frame) {
        if (hook) hook(frame);
        if (frame >= maxFrames) hl::CloseBox();
    });
    ovSystem::detail::InstallApplication(&app);
    ovSystem::detail::StaticInitialise();
    char commandLine[] = "";
    return WinMain(nullptr, nullptr, commandLine, SW_SHOWNORMAL);
}

}  // namespace ovtest
