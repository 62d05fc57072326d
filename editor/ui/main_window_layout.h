// The controls of the editor's main window: ids, kinds, captions, tooltips and places in twips.
#pragma once

#include <span>

#include "editor/model/window_title.h"

namespace editor {

enum ControlId : int {
    kTabs = 1000,                  // SSTab1
    kItemList = 1001,              // List1
    kItemIcon = 1002,              // iconic1
    kAddButton = 1003,             // Command2
    kEditButton = 1004,            // Command3
    kDeleteButton = 1005,          // Command7
    kChangeIconButton = 1006,      // Command11
    kMoveUpButton = 1007,          // Command4
    kMoveDownButton = 1008,        // Command8
    kSeparatorButton = 1009,       // Command9
    kItemFrame = 1010,             // Frame3
    kMenuTypeLabel = 1011,         // "Menu Type :"
    kUserDefinedLabel = 1012,      // "User Defined List"
    kToPointerButton = 1013,       // Command13
    kUndoButton = 1014,            // takes back the last change
    kPointerFrame = 1020,          // Frame4
    kPointerTypeLabel = 1021,      // "Menu Type : Directory Pointer"
    kDriveList = 1022,             // Drive1
    kFolderList = 1023,            // Dir1
    kPathLabel = 1024,             // "Current Path :"
    kPathBox = 1025,               // Text7
    kPatternLabel = 1026,          // "File Pattern :"
    kPatternBox = 1027,            // Text8
    kShowFoldersCheck = 1028,      // Check2
    kShowHiddenCheck = 1029,       // Check3
    kHideExtensionsCheck = 1030,   // Check4
    kSavePointerButton = 1031,     // Command15
    kToUserListButton = 1032,      // Command14
    kPointerBrowseButton = 1033,   // "Browse...": the system's folder picker
    kIconFrame = 1040,             // Frame1
    kIconCountLabel = 1041,        // Label8
    kIconLabel = 1042,             // Label7
    kMenuIconPicture = 1043,       // Picture1
    kMenuIconScroll = 1044,        // HScroll1
    kSelectIconFileButton = 1045,  // Command10
    kFontFrame = 1046,             // Frame2
    kFontSample = 1047,            // Text3
    kChangeFontButton = 1048,      // Command6
    kSmallIconsCheck = 1049,       // Check1
    kSaveAppearanceButton = 1050,  // Command12
    kShortcutsFrame = 1070,        // "Shortcuts to this menu"
    kStartMenuCheck = 1071,        // "Start menu"
    kDesktopCheck = 1072,          // "Desktop"
    kHotKeyLabel = 1073,           // "Shortcut key :"
    kHotKeyBox = 1074,             // the shortcuts' key combination
    kNoHotKeyButton = 1075,        // "None"
    kPinLabel = 1076,              // how to pin the menu
    kQuitButton = 1060,            // Command5
};

enum class ControlKind {
    Tabs,
    Frame,
    Label,
    List,
    Picture,
    Button,
    Check,
    Text,
    DriveList,
    FolderList,
    ScrollBar,
    HotKey,
    IconGrid,  // a list view of large icons
};

// When a control shows: always, on the "Contents" tab for a user-defined menu (the item list
// page) or for a directory pointer (the pointer page), on the "Appearance" tab, or on the
// "Shortcuts" tab.
enum class Page { Always, Items, DirectoryPointer, Appearance, Shortcuts };

struct ControlLayout {
    int Id;
    ControlKind Kind;
    Page Shown;
    int Parent;  // the container its place is measured in: 0 the form, else a control id
    float Left, Top, Width, Height;  // twips
    const char* Caption;
    const char* Tooltip;  // null: none
    bool Sunken = false;  // a picture box with a sunken edge
};

// In creation order; a container comes before what it holds. Tab follows the controls' places
// (StackingOrder, editor/keyboard_access.h), not this order.
[[nodiscard]] std::span<const ControlLayout> MainWindowControls();

inline constexpr float kFormWidth = 6135;  // client area, twips
inline constexpr float kFormHeight = 5655;
inline constexpr const char* kMainWindowClass = "TarvelEditMain";
inline constexpr const char* kContentsTab = "Contents";
inline constexpr const char* kAppearanceTab = "Appearance";
inline constexpr const char* kShortcutsTab = "Shortcuts";
// The tabs' positions in the tab control.
inline constexpr int kContentsTabIndex = 0;
inline constexpr int kAppearanceTabIndex = 1;
inline constexpr int kShortcutsTabIndex = 2;

struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Twips per pixel at a given number of dots per inch: exactly 1440 / dpi (15 at 96, 7.5 at
// 192). The engine rounds its factor to a whole number instead (engine/menu_model.h,
// TwipsPerPixelForDpi), as the stored menu layouts were made with; the editor's forms are its
// own twips tables and scale in proportion to the system font at the window's dpi, so a form
// at 192 dpi is twice its size at 96 rather than 15/8 of it.
[[nodiscard]] float TwipsPerPixel(int dotsPerInch);
[[nodiscard]] int TwipsToPixels(float twips, float twipsPerPixel);
// The control's place in the form's client area: its containers' offsets added, then each
// edge rounded to whole pixels so that neighbours that touch in twips touch in pixels.
[[nodiscard]] PixelRect ClientRect(const ControlLayout& control, float twipsPerPixel);
[[nodiscard]] const ControlLayout* FindControl(int id);

}  // namespace editor
