// The menu file a name typed in the Open dialog stands for.
#pragma once

#include <string>
#include <string_view>

namespace editor {

// A name typed without an extension ("Tools") names "Tools.<extension>", as the dialog is asked
// to make it (Wine's drops the extension again for a file that does not exist yet). A file that
// exists under the name as typed keeps it; a name ending in a dot or holding one in its last
// part has its extension already.
[[nodiscard]] std::string WithDefaultExtension(std::string_view path, std::string_view extension,
                                               bool existsAsTyped);

}  // namespace editor
