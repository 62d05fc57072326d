// The menu font of a settings line as a Win32 font: what the engine draws its captions with
// and the editor's sample shows.
#pragma once

#include <windows.h>

#include "menufile/menu_file.h"
#include "platform/win32_handles_win.h"

namespace platform {

[[nodiscard]] UniqueHfont CreateMenuFont(const menufile::MenuSettings& settings,
                                         int dotsPerInch);

}  // namespace platform
