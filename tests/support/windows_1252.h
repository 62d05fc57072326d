// Windows-1252 as a code page of the menu file library, for tests on any system: the table the
// Windows build would get from Windows on a Western European system.
#pragma once

#include "menufile/text_encoding.h"

namespace test_support {

[[nodiscard]] const menufile::CodePage& Windows1252();

}  // namespace test_support
