// Mnemonics and the visual tab order of the editor's windows.
#include "editor/ui/keyboard_access.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "editor/model/item_wizard.h"
#include "editor/ui/dialog_layouts.h"

namespace editor {
namespace {

struct Mnemonic {
    int Id;
    const char* Caption;
};

// Chosen so that no two controls shown together, tabs and "Quit" included, share a letter.
constexpr std::array kMnemonics = {
    Mnemonic{kAddButton, "&Add"},
    Mnemonic{kEditButton, "&Edit"},
    Mnemonic{kDeleteButton, "&Delete"},
    Mnemonic{kUndoButton, "U&ndo"},
    Mnemonic{kChangeIconButton, "Change &Icon"},
    Mnemonic{kMoveUpButton, "Move &Up"},
    Mnemonic{kMoveDownButton, "Move Do&wn"},
    Mnemonic{kSeparatorButton, "&Separator"},
    Mnemonic{kToPointerButton, "Change Menu &Type"},
    Mnemonic{kPathLabel, "Current &Path :"},
    Mnemonic{kPatternLabel, "&File Pattern :"},
    Mnemonic{kShowFoldersCheck, "&Display Folders"},
    Mnemonic{kShowHiddenCheck, "Display &Hidden Files"},
    Mnemonic{kHideExtensionsCheck, "Hide file e&xtentions for known file types"},
    Mnemonic{kSavePointerButton, "&Save Changes"},
    Mnemonic{kToUserListButton, "Change Menu &Type"},
    Mnemonic{kPointerBrowseButton, "&Browse..."},
    Mnemonic{kSelectIconFileButton, "Select &Icon File"},
    Mnemonic{kChangeFontButton, "Change &Font"},
    Mnemonic{kSmallIconsCheck, "Show s&mall icons in menu"},
    Mnemonic{kSaveAppearanceButton, "&Save Changes"},
    Mnemonic{kStartMenuCheck, "&Start menu"},
    Mnemonic{kDesktopCheck, "&Desktop"},
    Mnemonic{kHotKeyLabel, "Shortcut &key :"},
    Mnemonic{kNoHotKeyButton, "&None"},
    Mnemonic{kQuitButton, "&Quit"},
    Mnemonic{kWizardInstruction, kPathInstructionCaption},
    Mnemonic{kWizardBrowse, "B&rowse..."},
    Mnemonic{kWizardArgsLabel, "&Additional Command Line Arguments"},
    Mnemonic{kWizardStartInLabel, "&Start in"},
    Mnemonic{kWizardBack, "< &Back"},
    Mnemonic{kWizardNext, "&Next >"},
    Mnemonic{kWizardFinish, "&Finish"},
    Mnemonic{kChooserLibrary, "Select Icon &Library"},
};

}  // namespace

HistoryKey HistoryKeyOf(unsigned key, bool ctrl, bool shift, bool alt) {
    if (!ctrl || alt) {
        return HistoryKey::None;  // Ctrl+Alt is AltGr on many keyboards: a character
    }
    if (key == 'Z') {
        return shift ? HistoryKey::Redo : HistoryKey::Undo;
    }
    return key == 'Y' && !shift ? HistoryKey::Redo : HistoryKey::None;
}

namespace {

const Mnemonic* FindMnemonic(int id) {
    const auto found = std::find_if(kMnemonics.begin(), kMnemonics.end(),
                                    [id](const Mnemonic& m) { return m.Id == id; });
    return found != kMnemonics.end() ? &*found : nullptr;
}

bool ShownOn(const ControlLayout& c, Page page) {
    return c.Shown == Page::Always || c.Shown == page;
}

struct Box {
    const ControlLayout* Control;
    std::size_t Index;  // in the table: the order of controls that stand in the same place
};

float Start(const Box& b, bool rows) {
    return rows ? b.Control->Top : b.Control->Left;
}
float End(const Box& b, bool rows) {
    return rows ? b.Control->Top + b.Control->Height : b.Control->Left + b.Control->Width;
}

// Reading order of siblings by recursive cuts: into rows where nothing spans the gap between
// them, each row into columns the same way, and so on; boxes that no cut separates (one laid
// over another) are read by their top, then left, edges.
void ReadingOrder(std::vector<Box> boxes, bool rows, bool otherWayTried, std::vector<Box>& out) {
    if (boxes.size() <= 1) {
        out.insert(out.end(), boxes.begin(), boxes.end());
        return;
    }
    std::stable_sort(boxes.begin(), boxes.end(), [rows](const Box& a, const Box& b) {
        return Start(a, rows) < Start(b, rows);
    });
    std::vector<std::vector<Box>> groups;
    float end = 0;
    for (const Box& b : boxes) {
        if (groups.empty() || Start(b, rows) >= end) {
            groups.emplace_back();
            end = End(b, rows);
        }
        groups.back().push_back(b);
        end = std::max(end, End(b, rows));
    }
    if (groups.size() > 1) {
        for (std::vector<Box>& group : groups) {
            ReadingOrder(std::move(group), !rows, false, out);
        }
        return;
    }
    if (!otherWayTried) {
        ReadingOrder(std::move(boxes), !rows, true, out);
        return;
    }
    std::stable_sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
        if (a.Control->Top != b.Control->Top) {
            return a.Control->Top < b.Control->Top;
        }
        if (a.Control->Left != b.Control->Left) {
            return a.Control->Left < b.Control->Left;
        }
        return a.Index < b.Index;
    });
    out.insert(out.end(), boxes.begin(), boxes.end());
}

void AppendInOrder(std::span<const ControlLayout> controls, Page page, int parent,
                   std::vector<int>& out) {
    std::vector<Box> siblings;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].Parent == parent && ShownOn(controls[i], page)) {
            siblings.push_back({&controls[i], i});
        }
    }
    std::vector<Box> ordered;
    ReadingOrder(std::move(siblings), true, false, ordered);
    for (const Box& b : ordered) {
        out.push_back(b.Control->Id);
        AppendInOrder(controls, page, b.Control->Id, out);
    }
}

const ControlLayout* Find(std::span<const ControlLayout> controls, int id) {
    for (const ControlLayout& c : controls) {
        if (c.Id == id) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace

std::string ShownCaption(const ControlLayout& control) {
    if (const Mnemonic* m = FindMnemonic(control.Id)) {
        return m->Caption;
    }
    return control.Caption != nullptr ? control.Caption : "";
}

bool HasMnemonic(int id) {
    return FindMnemonic(id) != nullptr;
}

std::string InstructionCaption(std::string_view instruction) {
    if (instruction == kPathInstruction) {
        return kPathInstructionCaption;
    }
    if (instruction == kNameInstruction) {
        return kNameInstructionCaption;
    }
    return std::string(instruction);
}

char MnemonicOf(std::string_view caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] == '&') {
            ++i;  // a literal ampersand
            continue;
        }
        return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

std::string WithoutMnemonic(std::string_view caption) {
    std::string plain;
    plain.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) {
            ++i;  // "&x" shows x, "&&" shows '&'
        }
        plain += caption[i];
    }
    return plain;
}

std::vector<int> VisualOrder(std::span<const ControlLayout> controls, Page page) {
    std::vector<int> order;
    AppendInOrder(controls, page, 0, order);
    return order;
}

bool IsTabStop(ControlKind kind) {
    switch (kind) {
        case ControlKind::Frame:
        case ControlKind::Label:
        case ControlKind::Picture:
            return false;
        default:
            return true;
    }
}

std::vector<int> StackingOrder(std::span<const ControlLayout> controls) {
    std::vector<int> order;
    auto emitted = [&](int id) { return std::find(order.begin(), order.end(), id) != order.end(); };
    auto kindOf = [&](int id) { return Find(controls, id)->Kind; };
    for (const ControlLayout& c : controls) {
        if (c.Kind == ControlKind::Picture) {
            order.push_back(c.Id);
        }
    }
    // Each page's own controls, then those always shown (in a window without pages, all).
    for (Page page :
         {Page::Items, Page::DirectoryPointer, Page::Appearance, Page::Shortcuts, Page::Always}) {
        for (int id : VisualOrder(controls, page)) {
            const ControlKind kind = kindOf(id);
            const Page shown = Find(controls, id)->Shown;
            if ((shown == page) && kind != ControlKind::Frame && kind != ControlKind::Tabs &&
                !emitted(id)) {
                order.push_back(id);
            }
        }
    }
    for (ControlKind last : {ControlKind::Frame, ControlKind::Tabs}) {
        for (const ControlLayout& c : controls) {
            if (c.Kind == last && !emitted(c.Id)) {
                order.push_back(c.Id);
            }
        }
    }
    return order;
}
}  // namespace editor
