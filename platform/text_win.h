// UTF-8 inside, UTF-16 at the Windows edge: the conversions at the call, and the system's ANSI
// code page as the menu file library sees it.
#pragma once

#include <string>
#include <string_view>

#include "menufile/text_encoding.h"

namespace platform {

// UTF-16 of UTF-8 text (an invalid sequence becomes U+FFFD).
[[nodiscard]] std::wstring Widen(std::string_view utf8);
// UTF-8 of UTF-16 text.
[[nodiscard]] std::string Narrow(std::wstring_view wide);
// A path as the wide file functions take it: one too long for them gets the prefix that lifts
// the limit, where Windows allows it (a full path with a drive or a share). A path that fits
// goes without it, since the prefix also turns off the clean-up of "." and "..".
[[nodiscard]] std::wstring WidePath(std::string_view path);

// What follows the program's own name on the command line, as UTF-8 (the wide command line:
// the ANSI one turns names outside the code page into "?").
[[nodiscard]] std::string CommandLineArguments();

// The ANSI code page of this system: menu files that are not UTF-8 are in it.
[[nodiscard]] const menufile::CodePage& SystemCodePage();

}  // namespace platform
