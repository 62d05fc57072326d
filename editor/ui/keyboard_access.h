// Keyboard access to the editor's windows: the mnemonics of their captions, a tab order that
// follows where the controls stand.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/ui/main_window_layout.h"

namespace editor {

// The tab captions as the tab control shows them.
inline constexpr const char* kContentsTabCaption = "&Contents";
inline constexpr const char* kAppearanceTabCaption = "Appea&rance";
inline constexpr const char* kShortcutsTabCaption = "Sh&ortcuts";
// The wizard's instruction names the box below it, so it carries that box's mnemonic.
inline constexpr const char* kPathInstructionCaption =
    "Type the full &path of the item you want to create a shortcut to. Or search for the item "
    "by clicking Browse.";
inline constexpr const char* kNameInstructionCaption = "Type a friendly na&me for your shortcut.";

// The caption a control shows: the table's caption with '&' before its mnemonic letter where
// it has one.
[[nodiscard]] std::string ShownCaption(const ControlLayout& control);
// True when the control's caption marks a mnemonic (a label then draws '&' as an underline).
[[nodiscard]] bool HasMnemonic(int id);
// The wizard's instruction text with the mnemonic of the box it names; other texts as given.
[[nodiscard]] std::string InstructionCaption(std::string_view instruction);

// What a key pressed anywhere in the main window does to the history: Ctrl+Z undoes, Ctrl+Y
// and Ctrl+Shift+Z redo; Alt with either is something else. `key` is a virtual-key code.
enum class HistoryKey { None, Undo, Redo };
[[nodiscard]] HistoryKey HistoryKeyOf(unsigned key, bool ctrl, bool shift, bool alt);

// The letter after the first single '&', in upper case; 0 when there is none ("&&" shows '&').
[[nodiscard]] char MnemonicOf(std::string_view caption);
// The caption as read aloud or compared: its '&' marks taken out.
[[nodiscard]] std::string WithoutMnemonic(std::string_view caption);

// The controls shown on `page` (those always shown included), in reading order: rows from top
// to bottom, and inside a row the columns from left to right, each column read the same way;
// a container is followed by what it holds, read in the same way.
[[nodiscard]] std::vector<int> VisualOrder(std::span<const ControlLayout> controls, Page page);
// The z-order, top first, that gives every page its visual tab order: Windows tabs through
// the z-order and wraps around. Pictures lie over scroll bars and stay on top; frames and the
// tab control lie under what they hold, so the tab control comes last and is reached from the
// page's last control. Every control of `controls` is in it once.
[[nodiscard]] std::vector<int> StackingOrder(std::span<const ControlLayout> controls);
// Whether Tab stops at this kind of control.
[[nodiscard]] bool IsTabStop(ControlKind kind);

}  // namespace editor
