// The undo history: steps kept within their caps.
#include "editor/model/edit_history.h"

#include <utility>

namespace editor {

void EditHistory::Record(EditStep step) {
    for (const EditStep& gone : m_redo) {
        m_bytes -= gone.Size();
    }
    m_redo.clear();
    m_bytes += step.Size();
    m_undo.push_back(std::move(step));
    Trim();
}

void EditHistory::Extend(std::string after) {
    if (m_undo.empty()) {
        return;
    }
    EditStep& newest = m_undo.back();
    m_bytes -= newest.After.size();
    newest.After = std::move(after);
    m_bytes += newest.After.size();
    Trim();
}

void EditHistory::Retitle(std::string description) {
    if (!m_undo.empty()) {
        m_undo.back().Description = std::move(description);
    }
}

void EditHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    m_bytes = 0;
}

void EditHistory::Undone() {
    m_redo.push_back(std::move(m_undo.back()));
    m_undo.pop_back();
}

void EditHistory::Redone() {
    m_undo.push_back(std::move(m_redo.back()));
    m_redo.pop_back();
}

void EditHistory::Trim() {
    // Only ever called right after a step came in: the redo side is empty, and the newest step
    // stays even when it alone is over the byte cap.
    while (m_undo.size() > 1 && (m_undo.size() > m_maxSteps || m_bytes > m_maxBytes)) {
        m_bytes -= m_undo.front().Size();
        m_undo.pop_front();
    }
}

}  // namespace editor
