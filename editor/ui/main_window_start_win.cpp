// The editor's main window at start-up: the menu file asked for, loaded, repaired or made, and
// what is told about journals found beside it.
#include "editor/ui/main_window_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <string>

#include "editor/model/editor_messages.h"
#include "editor/model/menu_path.h"
#include "editor/ui/dialog_window_win.h"
#include "editor/ui/load_progress_win.h"
#include "editor/ui/main_window_layout.h"
#include "menufile/command_line.h"
#include "platform/shell_link_win.h"
#include "platform/system_error_win.h"
#include "platform/text_win.h"

namespace editor {

bool MainWindow::Start(std::string_view commandLine) {
    std::string path = menufile::PathFromCommandLine(commandLine);
    for (;;) {
        if (path.empty()) {
            path = AskForMenuFile();
            if (path.empty()) {
                return false;
            }
        }
        const GuardedLoad loaded =
            LoadShowingProgress(Hwnd(), ClientRect(*FindControl(kItemList), TwipsPerPixelValue()),
                                [&](const menufile::ReadProgress& progress) {
                                    return LoadEditorMenuGuarded(m_editor, path, &progress);
                                });
        if (Hwnd() == nullptr) {
            return false;  // closed while it was loading
        }
        if (loaded.Fault == LoadFault::OutOfMemory) {
            Tell(platform::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
            return false;  // as a file that cannot be read: nothing to edit
        }
        const LoadStatus status = loaded.Status;  // any other fault: the file cannot be read
        if (status == LoadStatus::Loaded) {
            break;
        }
        if (!m_editor.SetAsideJournal().empty()) {  // no menu file, but its journal was kept
            Tell(KeptJournalText(path, m_editor.SetAsideJournal()));
        }
        menufile::MenuError error = menufile::MenuError::None;
        if (status == LoadStatus::NotFound) {
            if (!Ask(CreateMenuQuestion(path))) {
                return false;
            }
            error = m_editor.CreateNewMenu(path, m_stockPicture);
        } else if (status == LoadStatus::OldLayout) {
            if (!Ask(kUpgradeQuestion)) {
                return false;  // the file stays as it was
            }
            error = m_editor.UpgradeOldMenu(m_stockPicture);
        } else if (status == LoadStatus::Damaged && m_editor.DamagedLine() > 0) {
            if (!Ask(DamagedLineQuestion(path, m_editor.DamagedLine()))) {
                return false;  // the file stays as it was
            }
            error = m_editor.DropDamagedLine();
            if (error == menufile::MenuError::None && !m_editor.IsLoaded()) {
                continue;  // another line is damaged: asked about in turn
            }
        } else {
            Tell(LoadProblemText(status, path));
            return false;
        }
        if (error != menufile::MenuError::None) {
            Tell(WriteErrorText(error, path));
            return false;
        }
        break;
    }
    TabCtrl_SetCurSel(Control(kTabs), 0);  // the "Contents" tab
    ShowMenu();
    ShowOpened();
    if (!m_editor.SetAsideJournal().empty()) {
        Tell(StaleJournalText(m_editor.Path(), m_editor.SetAsideJournal()));
    }
    if (m_editor.HasUntrustedJournal() && Ask(UntrustedJournalQuestion(m_editor.Path()))) {
        if (const menufile::MenuError e = m_editor.SetAsideUntrustedJournal();
            e != menufile::MenuError::None) {
            Tell(WriteErrorText(e, m_editor.Path()));
        }
    }
    return true;
}

std::string MainWindow::AskForMenuFile() {
    // No "file must exist": a new name is how a first menu is made.
    const DWORD flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    // The user's own documents, not the program's folder where the template lies.
    const std::string documents = platform::UserFolder(CSIDL_PERSONAL).value_or(std::string());
    const std::string chosen =
        AskForFile(Hwnd(), kOpenTitle, kOpenFilter, flags, {}, "tvl", documents)
            .value_or(std::string());
    const bool exists =
        !chosen.empty() &&
        ::GetFileAttributesW(platform::WidePath(chosen).c_str()) != INVALID_FILE_ATTRIBUTES;
    return WithDefaultExtension(chosen, "tvl", exists);
}

}  // namespace editor
