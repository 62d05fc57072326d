// Loading a menu file on a thread of its own, where an exception must not end the program.
#include "editor/model/guarded_load.h"

#include <new>

namespace editor {

GuardedLoad LoadEditorMenuGuarded(MenuEditor& editor, const std::string& path,
                                  const menufile::ReadProgress* progress) noexcept {
    GuardedLoad result;
    try {
        result.Status = editor.LoadEditorMenu(path, progress);
        return result;
    } catch (const std::bad_alloc&) {
        result.Fault = LoadFault::OutOfMemory;
    } catch (...) {
        result.Fault = LoadFault::Other;
    }
    // Whatever the load had taken in by then is dropped (an empty path allocates nothing).
    (void)editor.LoadEditorMenu({});
    return result;
}

}  // namespace editor
