// The one font of the editor's windows.
#include "editor/ui/form_fonts_win.h"

#include "platform/dpi_win.h"

namespace editor {

platform::UniqueHfont CreateDialogFont(int dotsPerInch) {
    LOGFONTW font{};
    if (platform::MessageFontForDpi(dotsPerInch, font)) {
        if (platform::UniqueHfont made(::CreateFontIndirectW(&font)); made) {
            return made;
        }
    }
    // No system answer: the dialog font of every Windows since 2000, 8 points.
    return platform::UniqueHfont(
        ::CreateFontW(-::MulDiv(8, dotsPerInch, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, L"MS Shell Dlg 2"));
}

}  // namespace editor
