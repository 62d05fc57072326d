// The undo history of one editor window: the file's bytes before and after each change.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace editor {

// One change as the file saw it.
struct EditStep {
    std::string Before;       // the file's bytes before the change
    std::string After;        // the bytes the change committed
    int RowBefore = -1;       // the row the change touched, as the list was before it
    int RowAfter = -1;        // that row as the change left the list
    std::string Description;  // for the tooltip: Delete "Notepad"

    [[nodiscard]] std::size_t Size() const { return Before.size() + After.size(); }
};

// Steps to undo and steps to redo. A new step ends every redo; the oldest steps go first when
// the history holds more than the caps allow, never the newest one.
class EditHistory {
public:
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxBytes = 64u * 1024u * 1024u;

    EditHistory() = default;
    EditHistory(std::size_t maxSteps, std::size_t maxBytes)
        : m_maxSteps(maxSteps), m_maxBytes(maxBytes) {}

    void Record(EditStep step);
    // The newest step made longer by one more commit of the same change (a drop of several
    // files is one step): its bytes after are those of the later commit.
    void Extend(std::string after);
    void Retitle(std::string description);
    void Clear();

    [[nodiscard]] bool CanUndo() const { return !m_undo.empty(); }
    [[nodiscard]] bool CanRedo() const { return !m_redo.empty(); }
    // The step an undo or a redo would take back or make again; only while there is one.
    [[nodiscard]] const EditStep& NextUndo() const { return m_undo.back(); }
    [[nodiscard]] const EditStep& NextRedo() const { return m_redo.back(); }
    // After that undo or redo was written: the step moves to the other side.
    void Undone();
    void Redone();

    [[nodiscard]] std::size_t UndoCount() const { return m_undo.size(); }
    [[nodiscard]] std::size_t RedoCount() const { return m_redo.size(); }
    [[nodiscard]] std::size_t Bytes() const { return m_bytes; }

private:
    void Trim();

    std::size_t m_maxSteps = kMaxSteps;
    std::size_t m_maxBytes = kMaxBytes;
    std::deque<EditStep> m_undo;   // oldest first
    std::vector<EditStep> m_redo;  // the next redo last
    std::size_t m_bytes = 0;       // of both sides
};

}  // namespace editor
