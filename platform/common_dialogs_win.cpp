// Common dialogs through their library bound on first use.
#include "platform/common_dialogs_win.h"

#include "platform/system_api_win.h"

namespace platform {

bool ShowOpenDialog(OPENFILENAMEW& ofn) {
    const auto open = api::GetOpenFileNameW();
    return open != nullptr && open(&ofn) != FALSE;
}

DWORD OpenDialogError() {
    const auto error = api::CommDlgExtendedError();
    return error != nullptr ? error() : 0;
}

bool ShowFontDialog(CHOOSEFONTW& choose) {
    const auto font = api::ChooseFontW();
    return font != nullptr && font(&choose) != FALSE;
}

}  // namespace platform
