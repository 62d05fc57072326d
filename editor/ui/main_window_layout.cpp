// The main window's control table and the twips-to-pixels conversion of its places.
#include "editor/ui/main_window_layout.h"

#include <array>
#include <cmath>

namespace editor {
namespace {

using K = ControlKind;
using P = Page;

// Places on the item list page come from the design, its right-hand column widened to hold
// its captions in the system's font; the rest is laid out on the same grid.
constexpr std::array kControls = {
    ControlLayout{kTabs, K::Tabs, P::Always, 0, 120, 120, 5895, 4935, "", nullptr},

    ControlLayout{kItemFrame, K::Frame, P::Items, kTabs, 120, 360, 5655, 4455, "", nullptr},
    ControlLayout{kAddButton, K::Button, P::Items, kItemFrame, 120, 240, 1215, 375, "Add",
                  "Add new item to menu"},
    ControlLayout{kEditButton, K::Button, P::Items, kItemFrame, 1560, 240, 1215, 375, "Edit",
                  "Edit the selected item's properties"},
    ControlLayout{kDeleteButton, K::Button, P::Items, kItemFrame, 3000, 240, 1215, 375, "Delete",
                  "Delete Selected item"},
    // Beside the other buttons that act on the whole list; its tooltip names the step.
    ControlLayout{kUndoButton, K::Button, P::Items, kItemFrame, 4320, 240, 1215, 375, "Undo",
                  nullptr},
    ControlLayout{kChangeIconButton, K::Button, P::Items, kItemFrame, 4320, 1680, 1215, 375,
                  "Change Icon", nullptr},
    ControlLayout{kMoveUpButton, K::Button, P::Items, kItemFrame, 4320, 2160, 1215, 375, "Move Up",
                  "Move the current item postition one step up"},
    ControlLayout{kMoveDownButton, K::Button, P::Items, kItemFrame, 4320, 2640, 1215, 375,
                  "Move Down", "Move the current item postition one step down"},
    ControlLayout{kSeparatorButton, K::Button, P::Items, kItemFrame, 4320, 3120, 1215, 375,
                  "Separator", "Add a seperator at the selected point"},
    ControlLayout{kMenuTypeLabel, K::Label, P::Items, kItemFrame, 120, 3900, 975, 255,
                  "Menu Type :", nullptr},
    // A little apart from "Menu Type :", which fills its own label at the larger scales.
    ControlLayout{kUserDefinedLabel, K::Label, P::Items, kItemFrame, 1155, 3900, 1755, 255,
                  "User Defined List", nullptr},
    ControlLayout{kToPointerButton, K::Button, P::Items, kItemFrame, 3840, 3840, 1695, 375,
                  "Change Menu Type", nullptr},
    ControlLayout{kItemList, K::List, P::Items, kItemFrame, 120, 720, 4095, 2790, "",
                  "You can drag and drop stuff to this list"},
    ControlLayout{kItemIcon, K::Picture, P::Items, kItemFrame, 4680, 840, 615, 615, "", nullptr,
                  true},

    ControlLayout{kPointerFrame, K::Frame, P::DirectoryPointer, kTabs, 120, 360, 5655, 4455, "",
                  nullptr},
    ControlLayout{kPointerTypeLabel, K::Label, P::DirectoryPointer, kPointerFrame, 120, 300, 3495,
                  255, "Menu Type : Directory Pointer", nullptr},
    ControlLayout{kDriveList, K::DriveList, P::DirectoryPointer, kPointerFrame, 120, 720, 2535, 315,
                  "", nullptr},
    // Ends above "Browse...", which stands in line with "Save Changes".
    ControlLayout{kFolderList, K::FolderList, P::DirectoryPointer, kPointerFrame, 120, 1140, 2535,
                  2580, "", nullptr},
    ControlLayout{kPointerBrowseButton, K::Button, P::DirectoryPointer, kPointerFrame, 120, 3840,
                  1335, 375, "Browse...", nullptr},
    ControlLayout{kPathLabel, K::Label, P::DirectoryPointer, kPointerFrame, 2880, 720, 2655, 240,
                  "Current Path :", nullptr},
    ControlLayout{kPathBox, K::Text, P::DirectoryPointer, kPointerFrame, 2880, 960, 2655, 315, "",
                  "The contents of this location will be displayed by the menu."},
    ControlLayout{kPatternLabel, K::Label, P::DirectoryPointer, kPointerFrame, 2880, 1440, 2655,
                  240, "File Pattern :", nullptr},
    ControlLayout{kPatternBox, K::Text, P::DirectoryPointer, kPointerFrame, 2880, 1680, 2655, 315,
                  "*.*", "The type of files to display (*.* for all files)"},
    ControlLayout{kShowFoldersCheck, K::Check, P::DirectoryPointer, kPointerFrame, 2880, 2160, 2655,
                  255, "Display Folders", nullptr},
    ControlLayout{kShowHiddenCheck, K::Check, P::DirectoryPointer, kPointerFrame, 2880, 2460, 2655,
                  255, "Display Hidden Files", nullptr},
    ControlLayout{kHideExtensionsCheck, K::Check, P::DirectoryPointer, kPointerFrame, 2880, 2760,
                  2655, 435, "Hide file extentions for known file types", nullptr},
    ControlLayout{kSavePointerButton, K::Button, P::DirectoryPointer, kPointerFrame, 4200, 3840,
                  1335, 375, "Save Changes", nullptr},
    ControlLayout{kToUserListButton, K::Button, P::DirectoryPointer, kPointerFrame, 3840, 240, 1695,
                  375, "Change Menu Type", nullptr},

    ControlLayout{kIconFrame, K::Frame, P::Appearance, kTabs, 120, 360, 5655, 1335, "Menu Icon",
                  nullptr},
    ControlLayout{kIconCountLabel, K::Label, P::Appearance, kIconFrame, 240, 240, 1335, 240, "",
                  nullptr},
    ControlLayout{kIconLabel, K::Label, P::Appearance, kIconFrame, 240, 960, 975, 240, "", nullptr},
    // Laid over the middle of the scroll bar, so only its arrows show: created first, on top.
    ControlLayout{kMenuIconPicture, K::Picture, P::Appearance, kIconFrame, 1560, 480, 480, 480, "",
                  nullptr},
    ControlLayout{kMenuIconScroll, K::ScrollBar, P::Appearance, kIconFrame, 1320, 480, 975, 495, "",
                  nullptr},
    ControlLayout{kSelectIconFileButton, K::Button, P::Appearance, kIconFrame, 2760, 480, 1455, 375,
                  "Select Icon File", nullptr},
    ControlLayout{kFontFrame, K::Frame, P::Appearance, kTabs, 120, 1800, 5655, 1215, "Menu Font",
                  nullptr},
    ControlLayout{kFontSample, K::Text, P::Appearance, kFontFrame, 240, 360, 3615, 555,
                  "Menu Text will look like this.", nullptr},
    ControlLayout{kChangeFontButton, K::Button, P::Appearance, kFontFrame, 4080, 360, 1335, 375,
                  "Change Font", nullptr},
    ControlLayout{kSmallIconsCheck, K::Check, P::Appearance, kTabs, 240, 3240, 3615, 255,
                  "Show small icons in menu", nullptr},
    ControlLayout{kSaveAppearanceButton, K::Button, P::Appearance, kTabs, 4440, 4440, 1335, 375,
                  "Save Changes", nullptr},

    // No program may pin itself: the page makes the shortcuts a user pins, and says how.
    ControlLayout{kShortcutsFrame, K::Frame, P::Shortcuts, kTabs, 120, 360, 5655, 3015,
                  "Shortcuts to this menu", nullptr},
    ControlLayout{kStartMenuCheck, K::Check, P::Shortcuts, kShortcutsFrame, 240, 360, 2535, 255,
                  "Start menu", "A shortcut in the Start menu's \"Tarvel Menus\" folder"},
    ControlLayout{kDesktopCheck, K::Check, P::Shortcuts, kShortcutsFrame, 240, 720, 2535, 255,
                  "Desktop", "A shortcut on the desktop"},
    ControlLayout{kHotKeyLabel, K::Label, P::Shortcuts, kShortcutsFrame, 240, 1260, 1335, 240,
                  "Shortcut key :", nullptr},
    ControlLayout{kHotKeyBox, K::HotKey, P::Shortcuts, kShortcutsFrame, 1680, 1200, 2175, 315, "",
                  "The keys that pop the menu up from anywhere"},
    ControlLayout{kNoHotKeyButton, K::Button, P::Shortcuts, kShortcutsFrame, 4080, 1170, 1335, 375,
                  "None", "No key for the shortcuts"},
    ControlLayout{kPinLabel, K::Label, P::Shortcuts, kShortcutsFrame, 240, 1800, 5175, 1035,
                  "To put the menu on the taskbar or in Start, right-click its Start menu entry "
                  "or its desktop shortcut and choose \"Pin to taskbar\" or \"Pin to Start\". "
                  "Windows lets no program pin by itself.",
                  nullptr},

    ControlLayout{kQuitButton, K::Button, P::Always, 0, 4680, 5160, 1335, 375, "Quit", nullptr},
};

struct TwipsRect {
    float Left, Top, Right, Bottom;
};

TwipsRect Absolute(const ControlLayout& control) {
    TwipsRect r{control.Left, control.Top, control.Left + control.Width,
                control.Top + control.Height};
    for (const ControlLayout* parent = FindControl(control.Parent); parent != nullptr;
         parent = FindControl(parent->Parent)) {
        r.Left += parent->Left;
        r.Right += parent->Left;
        r.Top += parent->Top;
        r.Bottom += parent->Top;
    }
    return r;
}

}  // namespace

std::span<const ControlLayout> MainWindowControls() {
    return kControls;
}

const ControlLayout* FindControl(int id) {
    for (const ControlLayout& control : kControls) {
        if (control.Id == id) {
            return &control;
        }
    }
    return nullptr;
}

float TwipsPerPixel(int dotsPerInch) {
    // Not rounded as the engine's is: the form keeps its proportion to the font at every scale.
    return dotsPerInch > 0 ? 1440.0f / static_cast<float>(dotsPerInch) : 15.0f;
}

int TwipsToPixels(float twips, float twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

PixelRect ClientRect(const ControlLayout& control, float twipsPerPixel) {
    TwipsRect r = Absolute(control);
    const int left = TwipsToPixels(r.Left, twipsPerPixel);
    const int top = TwipsToPixels(r.Top, twipsPerPixel);
    return {left, top, TwipsToPixels(r.Right, twipsPerPixel) - left,
            TwipsToPixels(r.Bottom, twipsPerPixel) - top};
}

}  // namespace editor
