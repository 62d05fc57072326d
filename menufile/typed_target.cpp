// What a typed target names.
#include "menufile/typed_target.h"

namespace menufile {
namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A name with no folder, drive or address part: the search path and App Paths may know it.
bool IsBareName(std::string_view text) {
    return text.find_first_of("\\/:") == std::string_view::npos;
}

bool HasExtension(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    return dot != std::string_view::npos && dot + 1 < name.size();
}

std::string Unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"') {
        const std::size_t close = text.find('"', 1);
        if (close != std::string::npos) {
            return text.substr(1, close - 1);
        }
    }
    return text;
}

}  // namespace

std::optional<std::string_view> AddressScheme(std::string_view text) {
    const std::size_t colon = text.find(':');
    // One letter before the colon is a drive, never a scheme.
    if (colon == std::string_view::npos || colon < 2 || !IsLetter(text[0])) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!IsLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
            return std::nullopt;
        }
    }
    return text.substr(0, colon);
}

ResolvedTarget ResolveTarget(const std::string& typed, TargetLookup& lookup) {
    using Kind = ResolvedTarget::Kind;
    if (typed.empty()) {
        return {};
    }
    const std::string expanded =
        typed.find('%') != std::string::npos ? lookup.ExpandVariables(typed) : typed;
    if (lookup.Exists(expanded)) {
        return {Kind::Path, expanded};
    }
    if (const auto scheme = AddressScheme(expanded);
        scheme && lookup.HasSchemeHandler(std::string(*scheme))) {
        return {Kind::Address, expanded};
    }
    if (!IsBareName(expanded)) {
        return {};
    }
    if (std::string found = lookup.FindOnSearchPath(expanded);
        !found.empty() && lookup.Exists(found)) {
        return {Kind::Path, std::move(found)};
    }
    // App Paths are keyed by the file name, extension included.
    const std::string file = HasExtension(expanded) ? expanded : expanded + ".exe";
    std::string registered = Unquoted(lookup.AppPath(file));
    if (registered.find('%') != std::string::npos) {
        registered = lookup.ExpandVariables(registered);
    }
    if (!registered.empty() && lookup.Exists(registered)) {
        return {Kind::Path, std::move(registered)};
    }
    return {};
}

}  // namespace menufile
