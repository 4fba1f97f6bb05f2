#include "core/numbertext.h"

#include <climits>

int StrToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    size_t digits = 0;
    for (; i < text.size(); ++i, ++digits) {
        char c = text[i];
        if (c < '0' || c > '9') break;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;
    }
    long long signedValue = negative ? -value : value;
    if (digits == 0 || i != text.size() || signedValue > INT_MAX || signedValue < INT_MIN)
        throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
    return static_cast<int>(signedValue);
}

int StrToIntDef(std::string_view text, int fallback) {
    try {
        return StrToInt(text);
    } catch (const ConvertError&) {
        return fallback;
    }
}

bool StrToBool(std::string_view text) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (lower == "true") return true;
    if (lower == "false") return false;
    try {
        return StrToInt(text) != 0;
    } catch (const ConvertError&) {
        throw ConvertError("'" + std::string(text) + "' is not a valid boolean value");
    }
}
