// Filling a system message's inserts in one pass over the text.
#include "menufile/message_inserts.h"

namespace menufile {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FillMessageInserts(std::string_view text, const std::vector<std::string>& inserts) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c != '%' || i + 1 == text.size()) {
            out += c;  // a lone "%" at the very end is kept
            ++i;
            continue;
        }
        const char next = text[i + 1];
        if (next == '0') {
            break;  // the text ends here, without its line break
        }
        if (IsDigit(next)) {
            // One or two digits: %1 to %99.
            std::size_t number = static_cast<std::size_t>(next - '0');
            i += 2;
            if (i < text.size() && IsDigit(text[i])) {
                number = number * 10 + static_cast<std::size_t>(text[i] - '0');
                ++i;
            }
            // "!format!" says how a number or a string is printed; every value here is text.
            if (i < text.size() && text[i] == '!') {
                const std::size_t close = text.find('!', i + 1);
                if (close != std::string_view::npos) {
                    i = close + 1;
                }
            }
            if (number >= 1 && number <= inserts.size()) {
                out += inserts[number - 1];
            }
            continue;
        }
        switch (next) {
            case 'n':
                out += "\r\n";
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            default:
                out += next;  // "%%", "% ", "%.", "%!" and any other: the character itself
                break;
        }
        i += 2;
    }
    return out;
}

}  // namespace menufile
