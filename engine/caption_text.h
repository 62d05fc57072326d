// Comparing captions as the user types them: UTF-8 text, letters without case.
#pragma once

#include <cstddef>
#include <string_view>

namespace engine {

// True when `name` starts with `prefix`, capitals and small letters of Latin, Greek and
// Cyrillic alike.
[[nodiscard]] bool StartsWithoutCase(std::string_view name, std::string_view prefix);

// The length of the character `text` repeats, when it is one character at least twice over;
// 0 otherwise.
[[nodiscard]] std::size_t RepeatedCharacter(std::string_view text);

}  // namespace engine
