// The add/edit item wizard's decisions.
#include "editor/model/item_wizard.h"

#include <array>

namespace editor {

bool IsInternetAddress(std::string_view path) {
    static constexpr std::array<std::string_view, 6> kPrefixes = {
        "http://", "ftp://", "mailto:", "gopher://", "news:", "telnet://"};
    for (std::string_view prefix : kPrefixes) {
        if (path.substr(0, prefix.size()) == prefix) {
            return true;
        }
    }
    return false;
}

std::string RefusedPathMessage(const std::string& path) {
    return "File " + path + " cannot be accessed. Please check the path.";
}

std::optional<std::string> UnwritableTextMessage(const menufile::MenuItem& item) {
    const std::pair<const std::string*, const char*> fields[] = {
        {&item.Target, "path"},
        {&item.Arguments, "command line arguments"},
        {&item.StartIn, "Start in folder"},
        {&item.Name, "name"},
    };
    for (const auto& [value, label] : fields) {
        if (value->find_first_of("\"\r\n") != std::string::npos) {
            return std::string("The ") + label +
                   " cannot contain a double quote (\") or a line break. Please change it.";
        }
    }
    return std::nullopt;
}

ItemWizard::ItemWizard(const menufile::MenuItem& item)
    : Target(item.Target),
      Arguments(item.Arguments),
      StartIn(item.StartIn),
      Name(item.Name),
      m_edit(true) {}

const char* ItemWizard::Instruction() const {
    return m_page == Page::Path ? kPathInstruction : kNameInstruction;
}

std::optional<std::string> ItemWizard::Next(menufile::TargetLookup& lookup,
                                            const DisplayNameOf& displayName) {
    if (Target.empty()) {
        return std::nullopt;  // the button is disabled then
    }
    std::string resolved = Target;
    if (!IsInternetAddress(Target)) {
        const menufile::ResolvedTarget found = menufile::ResolveTarget(Target, lookup);
        if (found.What == menufile::ResolvedTarget::Kind::Missing) {
            return RefusedPathMessage(Target);
        }
        resolved = found.Path;
    }
    m_page = Page::Name;
    if (!m_edit) {
        // Replaced on every pass, so going back and changing the path renames the item; when
        // the shell knows no name the box is empty rather than the previous path's name.
        Name = displayName(resolved);
    }
    return std::nullopt;
}

std::optional<std::string> ItemWizard::Next(const PathExists& exists,
                                            const DisplayNameOf& displayName) {
    // Existing paths only: no variables, no search, no schemes beyond the six.
    class ExistingOnly : public menufile::TargetLookup {
    public:
        explicit ExistingOnly(const PathExists& exists) : m_exists(exists) {}
        bool Exists(const std::string& path) override { return m_exists(path); }
        std::string ExpandVariables(const std::string& text) override { return text; }
        std::string FindOnSearchPath(const std::string&) override { return {}; }
        std::string AppPath(const std::string&) override { return {}; }
        bool HasSchemeHandler(const std::string&) override { return false; }

    private:
        const PathExists& m_exists;
    };
    ExistingOnly lookup(exists);
    return Next(lookup, displayName);
}

void ItemWizard::Back() {
    m_page = Page::Path;
}

menufile::MenuItem ItemWizard::Record(const menufile::MenuItem& old) const {
    menufile::MenuItem item{Name, Target, Arguments, StartIn, "", "0"};
    if (m_edit) {
        item.IconFile = old.IconFile;
        item.IconIndex = old.IconIndex;
    }
    return item;
}

}  // namespace editor
