// What a typed target names, as the Run box takes it: an address with a registered scheme, an
// existing path (environment variables expanded), or a program found by name.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace menufile {

// The scheme of an address: a letter, then letters, digits, "+", "-" or ".", then ":" ("https"
// of "https://host", "mailto" of "mailto:x"). None for a drive ("C:\x", "c:") or plain text.
[[nodiscard]] std::optional<std::string_view> AddressScheme(std::string_view text);

// The system's answers a typed target is checked against; the tests fake them.
class TargetLookup {
public:
    virtual ~TargetLookup() = default;
    // A file or folder exists at the path (hidden and system ones included).
    [[nodiscard]] virtual bool Exists(const std::string& path) = 0;
    // `text` with its %NAME% references expanded; the text unchanged when it names none.
    [[nodiscard]] virtual std::string ExpandVariables(const std::string& text) = 0;
    // The file a bare program name is on the search path as (".exe" added when it has no
    // extension); empty when there is none.
    [[nodiscard]] virtual std::string FindOnSearchPath(const std::string& name) = 0;
    // The program registered under App Paths for `file` ("mspaint.exe"), as registered (it may
    // be quoted or hold variables); empty when none is.
    [[nodiscard]] virtual std::string AppPath(const std::string& file) = 0;
    // Something is registered to open addresses of the scheme.
    [[nodiscard]] virtual bool HasSchemeHandler(const std::string& scheme) = 0;
};

struct ResolvedTarget {
    enum class Kind { Missing, Address, Path };
    Kind What = Kind::Missing;
    // The existing file or folder a path resolves to; the address itself for an address.
    std::string Path;
};

// What `typed` opens: an existing path (after expanding variables), else an address whose
// scheme has a handler, else a bare name found on the search path or under App Paths.
[[nodiscard]] ResolvedTarget ResolveTarget(const std::string& typed, TargetLookup& lookup);

}  // namespace menufile
