// Control tables of the item wizard and the icon chooser.
#include "editor/ui/dialog_layouts.h"

#include <array>

namespace editor {
namespace {

using K = ControlKind;
constexpr Page kAll = Page::Always;

constexpr std::array kWizard = {
    ControlLayout{kWizardPicture, K::Picture, kAll, 0, 120, 360, 1785, 2850, "", nullptr},
    // Three lines above the path box; on the name page, one line above the name box.
    ControlLayout{kWizardInstruction, K::Label, kAll, 0, 2040, 180, 4140, 660,
                  "Type the full path of the item you want to create a shortcut to. Or search for "
                  "the item by clicking Browse.",
                  nullptr},
    ControlLayout{kWizardPath, K::Text, kAll, 0, 2040, 840, 4095, 375, "", nullptr},
    ControlLayout{kWizardBrowse, K::Button, kAll, 0, 2040, 1320, 1095, 375, "Browse...", nullptr},
    ControlLayout{kWizardArgsLabel, K::Label, kAll, 0, 2040, 1800, 4095, 240,
                  "Additional Command Line Arguments", nullptr},
    ControlLayout{kWizardArgs, K::Text, kAll, 0, 2040, 2040, 4095, 405, "", nullptr},
    ControlLayout{kWizardStartInLabel, K::Label, kAll, 0, 2040, 2640, 3975, 240, "Start in",
                  nullptr},
    ControlLayout{kWizardStartIn, K::Text, kAll, 0, 2040, 2880, 4095, 405, "", nullptr},
    ControlLayout{kWizardName, K::Text, kAll, 0, 2040, 480, 4095, 375, "", nullptr},
    ControlLayout{kWizardBack, K::Button, kAll, 0, 2760, 3480, 1095, 375, "< Back", nullptr},
    ControlLayout{kWizardNext, K::Button, kAll, 0, 3840, 3480, 1095, 375, "Next >", nullptr},
    ControlLayout{kWizardFinish, K::Button, kAll, 0, 3840, 3480, 1095, 375, "Finish", nullptr},
    ControlLayout{kWizardCancel, K::Button, kAll, 0, 5040, 3480, 1095, 375, "Cancel", nullptr},
};

constexpr std::array kChooser = {
    ControlLayout{kChooserCount, K::Label, kAll, 0, 120, 120, 2400, 240, "", nullptr},
    // Eight columns of four rows of large icons at any scale; more scroll.
    ControlLayout{kChooserGrid, K::IconGrid, kAll, 0, 120, 420, 6360, 3240, "", nullptr},
    ControlLayout{kChooserLibrary, K::Button, kAll, 0, 120, 3840, 2295, 375, "Select Icon Library",
                  nullptr},
    ControlLayout{kChooserOk, K::Button, kAll, 0, 4080, 3840, 1155, 375, "OK", nullptr},
    ControlLayout{kChooserCancel, K::Button, kAll, 0, 5325, 3840, 1155, 375, "Cancel", nullptr},
};

}  // namespace

std::span<const ControlLayout> WizardControls() {
    return kWizard;
}
std::span<const ControlLayout> ChooserControls() {
    return kChooser;
}

}  // namespace editor
