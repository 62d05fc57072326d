// Loading a menu file on a thread of its own, where an exception must not end the program.
#pragma once

#include <string>

#include "editor/model/menu_editor.h"

namespace editor {

// What stopped a load that threw instead of returning.
enum class LoadFault {
    None,
    OutOfMemory,  // std::bad_alloc: the file is larger than the memory there is
    Other,        // any other exception
};

struct GuardedLoad {
    LoadStatus Status = LoadStatus::Unreadable;  // Unreadable after a fault
    LoadFault Fault = LoadFault::None;
};

// editor.LoadEditorMenu(path, progress) with every exception caught: after a fault the editor
// holds no menu, as after a failed load.
[[nodiscard]] GuardedLoad LoadEditorMenuGuarded(MenuEditor& editor, const std::string& path,
                                                const menufile::ReadProgress* progress) noexcept;

}  // namespace editor
