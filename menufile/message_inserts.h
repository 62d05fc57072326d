// The system's message texts with their inserts (%1 ... %99) filled in, as FormatMessage fills
// them, so a reason never shows "%1".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace menufile {

// `text` as FormatMessage without FORMAT_MESSAGE_IGNORE_INSERTS would give it: %1 ... %99 (with
// or without a "!s!"-style format, which only says how the value is printed) become
// `inserts[0]` ... `inserts[98]`, an insert with no value becomes nothing; %% is "%", %n a line
// break (CR LF), %r a CR, %t a tab, "% ", "%." and "%!" the character itself, and %0 ends the
// text there. What an insert holds is taken as it is: a value holding "%1" is not filled again.
[[nodiscard]] std::string FillMessageInserts(std::string_view text,
                                             const std::vector<std::string>& inserts);

}  // namespace menufile
