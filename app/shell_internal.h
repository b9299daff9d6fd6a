// app/shell_internal.h - what the shell's files share: the window procedure
// and the shell's texts.
#pragma once

#include "platform/window.h"

namespace ovSystem::shell {

inline constexpr char kTitle[] = "\x95\x97\x97\xE9\x82\xAD\x82\xB6";  // 風鈴くじ
inline constexpr char kMutexSuffix[] = ":OvMutex";
inline constexpr char kClassName[] = "DEFAULT";

LRESULT WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ovSystem::shell
