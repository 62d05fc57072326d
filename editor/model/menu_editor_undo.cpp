// Undo and redo: a step's bytes written back over the very bytes it left, through the same
// journaled commit every change takes.
#include <string>
#include <string_view>
#include <utility>

#include "editor/model/menu_editor.h"

namespace editor {
namespace {

using menufile::Built;
using menufile::MenuError;
using menufile::MenuFile;
using menufile::ReadStatus;
using Kind = ListChange::Kind;

}  // namespace

EditResult MenuEditor::Restore(const std::string& expected, const std::string& replacement, int row,
                               bool undo) {
    std::string committed;
    const MenuError e = menufile::ChangeMenuFile(
        m_fs, m_path,
        [&](std::string_view old) {
            // Only over the very bytes the step left: anything else is another program's.
            return old == expected ? Built{MenuError::None, replacement}
                                   : Built{MenuError::Changed, {}};
        },
        &committed);
    const ListChange all{Kind::Reloaded, 0, 0};
    if (e == MenuError::None) {
        MenuFile file = menufile::ReadMenu(committed);
        menufile::DecodeMenu(committed, file, m_codePage);
        if (file.Status == ReadStatus::Ok) {
            Adopt(std::move(committed), std::move(file));
        } else {
            Reload();
        }
        if (undo) {
            m_history.Undone();
        } else {
            m_history.Redone();
        }
        const int selection = row < static_cast<int>(m_rows.size()) ? row : -1;
        return {EditStatus::Written, MenuError::None, selection, all};
    }
    Reload();
    if (e == MenuError::Changed) {
        m_history.Clear();
        return {EditStatus::Reloaded, MenuError::None, -1, all};
    }
    return {EditStatus::Failed, e, -1, all};
}

EditResult MenuEditor::Undo() {
    if (!m_history.CanUndo()) {
        return {EditStatus::Unchanged, MenuError::None, -1, {}};
    }
    const EditStep& step = m_history.NextUndo();
    return Restore(step.After, step.Before, step.RowBefore, true);
}

EditResult MenuEditor::Redo() {
    if (!m_history.CanRedo()) {
        return {EditStatus::Unchanged, MenuError::None, -1, {}};
    }
    const EditStep& step = m_history.NextRedo();
    return Restore(step.Before, step.After, step.RowAfter, false);
}

std::string MenuEditor::UndoDescription() const {
    return m_history.CanUndo() ? m_history.NextUndo().Description : std::string();
}

std::string MenuEditor::RedoDescription() const {
    return m_history.CanRedo() ? m_history.NextRedo().Description : std::string();
}

}  // namespace editor
