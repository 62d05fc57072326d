// The controls of the item wizard and the icon chooser: ids, kinds, captions and places in twips.
#pragma once

#include <span>

#include "editor/ui/main_window_layout.h"

namespace editor {

enum WizardControlId : int {
    kWizardPicture = 2001,       // Picture1
    kWizardInstruction = 2002,   // Label1
    kWizardPath = 2003,          // Text1
    kWizardBrowse = 2004,        // Command3
    kWizardArgsLabel = 2005,     // Label2
    kWizardArgs = 2006,          // Text2
    kWizardStartInLabel = 2007,  // Label3
    kWizardStartIn = 2008,       // Text3
    kWizardName = 2009,          // Text4
    kWizardBack = 2010,          // Command4
    kWizardNext = 2011,          // Command1
    kWizardFinish = 2012,        // Command5
    kWizardCancel = 2013,        // Command2
};

enum ChooserControlId : int {
    kChooserCount = 2101,    // Label1
    kChooserLibrary = 2104,  // Command2
    kChooserOk = 2105,       // Command1
    kChooserCancel = 2106,   // Command3
    kChooserGrid = 2107,     // the library's icons, all at once
};

inline constexpr float kWizardWidth = 6420;  // client area, twips
inline constexpr float kWizardHeight = 4035;
inline constexpr float kChooserWidth = 6600;
inline constexpr float kChooserHeight = 4380;
// On the name page the instruction is one line, above the name box.
inline constexpr float kWizardNameInstructionHeight = 240;
inline constexpr const char* kWizardClass = "TarvelEditWizard";
inline constexpr const char* kChooserClass = "TarvelEditIconChooser";

// In creation order; Tab follows the controls' places (StackingOrder, editor/keyboard_access.h).
[[nodiscard]] std::span<const ControlLayout> WizardControls();
[[nodiscard]] std::span<const ControlLayout> ChooserControls();

}  // namespace editor
