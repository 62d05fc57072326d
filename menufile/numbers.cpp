// Numbers of the menu file: read leniently, written as the shortest text that reads back, always
// with a point as the decimal mark.
#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "menufile/field_text.h"
#include "menufile/menu_file.h"

namespace menufile {

using field::EqualsNoCase;
using field::TrimBlanks;

namespace {

// The C library reads and writes numbers with the locale's decimal mark; the file always has a
// point. (std::to_chars and from_chars would do without, at 200 KB of tables in each program.)
std::string_view LocaleDecimalMark() {
    const char* mark = std::localeconv()->decimal_point;
    return mark && *mark ? mark : ".";
}

}  // namespace

double ToNumber(std::string_view value) {
    value = TrimBlanks(value);
    if (!value.empty() && value.front() == '+') {
        value.remove_prefix(1);
    }
    // The longest leading decimal number, like a lenient numeric read: "12abc" is 12. No blanks,
    // hexadecimal, infinities or NaN, which strtod would take.
    auto digitsAt = [&](std::size_t at) {
        while (at < value.size() && value[at] >= '0' && value[at] <= '9') {
            ++at;
        }
        return at;
    };
    std::size_t end = value.empty() || value.front() != '-' ? 0 : 1;
    const std::size_t integerStart = end;
    end = digitsAt(end);
    std::size_t mantissaDigits = end - integerStart;
    std::string number(value.substr(0, end));
    if (end < value.size() && value[end] == '.') {
        const std::size_t fractionEnd = digitsAt(end + 1);
        mantissaDigits += fractionEnd - end - 1;
        number += LocaleDecimalMark();
        number += value.substr(end + 1, fractionEnd - end - 1);
        end = fractionEnd;
    }
    if (mantissaDigits == 0) {
        return 0;
    }
    if (end < value.size() && (value[end] == 'e' || value[end] == 'E')) {
        std::size_t at = end + 1;
        if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
            ++at;
        }
        const std::size_t exponentEnd = digitsAt(at);
        if (exponentEnd > at) {
            number += value.substr(end, exponentEnd - end);
        }
    }
    // Too large is 0, as for any unreadable number; too small is 0 or the nearest tiny value.
    const double result = std::strtod(number.c_str(), nullptr);
    return std::isfinite(result) ? result : 0;
}

int ToInt(std::string_view value) {
    double d = ToNumber(value);
    if (d >= 2147483647.0) {
        return 2147483647;
    }
    if (d <= -2147483648.0) {
        return -2147483647 - 1;
    }
    return static_cast<int>(std::lround(d));
}

bool ToBool(std::string_view value) {
    value = TrimBlanks(value);
    if (EqualsNoCase(value, "True") || EqualsNoCase(value, "#TRUE#")) {
        return true;
    }
    return ToNumber(value) != 0;
}

std::string FormatNumber(float value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-inf" : "inf";
    }
    // The fewest significant digits that read back as the same float (at most 9 are needed).
    std::array<char, 48> buffer{};
    std::string digits;
    int exponent = 0;
    for (int precision = 1; precision <= 9; ++precision) {
        std::snprintf(buffer.data(), buffer.size(), "%.*e", precision - 1,
                      static_cast<double>(value));
        if (std::strtof(buffer.data(), nullptr) == value || precision == 9) {
            // "-d<mark>ddde+XX": keep the digits and the exponent, whatever the mark is.
            std::string_view text(buffer.data());
            const std::size_t e = text.find('e');
            digits.clear();
            for (char c : text.substr(0, e)) {
                if (c >= '0' && c <= '9') {
                    digits += c;
                }
            }
            exponent = std::atoi(buffer.data() + e + 1);
            break;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const std::string sign = std::signbit(value) ? "-" : "";
    if (digits == "0") {
        return sign + "0";
    }
    // Plain notation, or scientific where that is shorter (plain on a tie).
    const int count = static_cast<int>(digits.size());
    std::string plain;
    if (exponent < 0) {
        plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (exponent + 1 >= count) {
        // A whole number is written with its exact digits, not padded with zeros.
        std::snprintf(buffer.data(), buffer.size(), "%.0f", std::fabs(static_cast<double>(value)));
        plain = buffer.data();
    } else {
        plain = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
                digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    std::string scientific = digits.substr(0, 1);
    if (count > 1) {
        scientific += "." + digits.substr(1);
    }
    const int magnitude = exponent < 0 ? -exponent : exponent;
    scientific += exponent < 0 ? "e-" : "e+";
    if (magnitude < 10) {
        scientific += '0';
    }
    scientific += std::to_string(magnitude);
    return sign + (scientific.size() < plain.size() ? scientific : plain);
}

}  // namespace menufile
