// What a typed target names: address schemes, variables, the search path and App Paths, in the
// order the Run box tries them.
#include "menufile/typed_target.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using menufile::AddressScheme;
using menufile::ResolvedTarget;
using Kind = ResolvedTarget::Kind;

// A machine with a few files, variables, programs on the path and registered schemes; it notes
// what was asked, so a test sees a lookup that should not have happened.
class FakeLookup : public menufile::TargetLookup {
public:
    std::set<std::string> Files = {"C:\\windows\\notepad.exe", "C:\\windows",
                                   "C:\\Program Files\\Paint\\mspaint.exe", "C:\\Tools\\tool.exe",
                                   "C:\\Tools\\run.cmd"};
    std::map<std::string, std::string> Variables = {{"windir", "C:\\windows"},
                                                    {"TOOLS", "C:\\Tools"}};
    std::map<std::string, std::string> OnPath = {{"notepad", "C:\\windows\\notepad.exe"},
                                                 {"run.cmd", "C:\\Tools\\run.cmd"}};
    std::map<std::string, std::string> AppPaths = {
        {"mspaint.exe", "\"C:\\Program Files\\Paint\\mspaint.exe\""},
        {"tool.exe", "%TOOLS%\\tool.exe"},
        {"gone.exe", "C:\\gone\\gone.exe"}};
    std::set<std::string> Schemes = {"https", "mailto", "ms-settings", "x.y+z"};
    std::vector<std::string> Asked;

    bool Exists(const std::string& path) override { return Files.count(path) > 0; }
    std::string ExpandVariables(const std::string& text) override {
        std::string out;
        for (std::size_t i = 0; i < text.size();) {
            const std::size_t close = text[i] == '%' ? text.find('%', i + 1) : std::string::npos;
            const auto found = close == std::string::npos
                                   ? Variables.end()
                                   : Variables.find(text.substr(i + 1, close - i - 1));
            if (found == Variables.end()) {
                out += text[i++];
            } else {
                out += found->second;
                i = close + 1;
            }
        }
        return out;
    }
    std::string FindOnSearchPath(const std::string& name) override {
        Asked.push_back("path " + name);
        const auto found = OnPath.find(name);
        return found == OnPath.end() ? std::string() : found->second;
    }
    std::string AppPath(const std::string& file) override {
        Asked.push_back("app " + file);
        const auto found = AppPaths.find(file);
        return found == AppPaths.end() ? std::string() : found->second;
    }
    bool HasSchemeHandler(const std::string& scheme) override {
        Asked.push_back("scheme " + scheme);
        return Schemes.count(scheme) > 0;
    }
};

TEST(AddressScheme, LettersThenLettersDigitsAndPunctuationBeforeTheColon) {
    struct Case {
        const char* text;
        const char* scheme;  // null: none
    };
    const Case cases[] = {
        {"https://example.com", "https"},
        {"mailto:someone@example.invalid", "mailto"},
        {"news:comp.lang", "news"},
        {"ms-settings:display", "ms-settings"},
        {"x.y+z9:rest", "x.y+z9"},
        {"HTTP://HOST", "HTTP"},
        {"ab:", "ab"},
        {"C:\\windows\\notepad.exe", nullptr},  // a drive
        {"c:", nullptr},
        {"C:relative.txt", nullptr},
        {"1http://x", nullptr},
        {"+a:x", nullptr},
        {"ht tp://x", nullptr},
        {"http_s://x", nullptr},
        {"\\\\host\\share:x", nullptr},
        {":x", nullptr},
        {"notepad", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        const auto scheme = AddressScheme(c.text);
        if (c.scheme == nullptr) {
            EXPECT_EQ(scheme, std::nullopt) << c.text;
        } else {
            EXPECT_EQ(scheme, std::optional<std::string_view>(c.scheme)) << c.text;
        }
    }
}

TEST(ResolveTarget, WhatEachKindOfTypedTextOpens) {
    struct Case {
        const char* typed;
        Kind kind;
        const char* path;
    };
    const Case cases[] = {
        {"C:\\windows\\notepad.exe", Kind::Path, "C:\\windows\\notepad.exe"},
        {"C:\\windows", Kind::Path, "C:\\windows"},
        {"%windir%\\notepad.exe", Kind::Path, "C:\\windows\\notepad.exe"},
        {"%WINDIR_UNSET%\\notepad.exe", Kind::Missing, ""},
        {"https://example.com", Kind::Address, "https://example.com"},
        {"mailto:a@b", Kind::Address, "mailto:a@b"},
        {"ms-settings:display", Kind::Address, "ms-settings:display"},
        {"gopherz://nobody-handles-it", Kind::Missing, ""},
        {"notepad", Kind::Path, "C:\\windows\\notepad.exe"},
        {"run.cmd", Kind::Path, "C:\\Tools\\run.cmd"},
        // App Paths: the key carries ".exe"; a quoted registration is unquoted, its variables
        // expanded, and a registration of a file that is gone is no program.
        {"mspaint", Kind::Path, "C:\\Program Files\\Paint\\mspaint.exe"},
        {"mspaint.exe", Kind::Path, "C:\\Program Files\\Paint\\mspaint.exe"},
        {"tool", Kind::Path, "C:\\Tools\\tool.exe"},
        {"gone", Kind::Missing, ""},
        {"nothing", Kind::Missing, ""},
        {"C:\\missing.exe", Kind::Missing, ""},
        {"", Kind::Missing, ""},
    };
    for (const Case& c : cases) {
        FakeLookup lookup;
        const ResolvedTarget found = menufile::ResolveTarget(c.typed, lookup);
        EXPECT_EQ(found.What, c.kind) << c.typed;
        EXPECT_EQ(found.Path, c.path) << c.typed;
    }
}

TEST(ResolveTarget, AsksTheSearchPathAndAppPathsOnlyAboutBareNames) {
    // A path with a folder or a drive is a file or nothing: the search path would find some
    // other file of the same name.
    for (const char* typed : {"C:\\missing\\notepad", "sub\\notepad", "C:notepad", "x/notepad"}) {
        FakeLookup lookup;
        lookup.OnPath[typed] = "C:\\windows\\notepad.exe";
        EXPECT_EQ(menufile::ResolveTarget(typed, lookup).What, Kind::Missing) << typed;
        for (const std::string& asked : lookup.Asked) {
            EXPECT_EQ(asked.rfind("path ", 0), std::string::npos) << typed << ": " << asked;
            EXPECT_EQ(asked.rfind("app ", 0), std::string::npos) << typed << ": " << asked;
        }
    }
    // An existing file wins over a scheme-looking name and over the search path.
    FakeLookup lookup;
    lookup.Files.insert("https:odd");
    EXPECT_EQ(menufile::ResolveTarget("https:odd", lookup).What, Kind::Path);
    EXPECT_TRUE(lookup.Asked.empty());
    // A name on the search path that its answer does not name an existing file of is not taken.
    FakeLookup stale;
    stale.OnPath["stale"] = "C:\\old\\stale.exe";
    EXPECT_EQ(menufile::ResolveTarget("stale", stale).What, Kind::Missing);
}

}  // namespace
