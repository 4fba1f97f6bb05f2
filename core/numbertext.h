#pragma once
// Numbers and truth values as the data files and the configuration hold
// them, read and written as text.

#include <stdexcept>
#include <string>
#include <string_view>

// Decimal integer conversion as the data files use it: optional leading
// blanks, an optional sign and digits, within the 32-bit range. Anything
// else throws ConvertError naming the value.
class ConvertError : public std::runtime_error {
public:
    // `gbkMessage` is the GBK text shown to the learner.
    explicit ConvertError(std::string gbkMessage) : std::runtime_error(gbkMessage), message_(std::move(gbkMessage)) {}
    const std::string& Message() const { return message_; }

private:
    std::string message_;
};
int StrToInt(std::string_view text);
// Like StrToInt, but gives `fallback` instead of throwing.
int StrToIntDef(std::string_view text, int fallback);
// Truth values: any integer (0 false, anything else true) or the words
// "True"/"False" in any letter case; anything else throws ConvertError.
bool StrToBool(std::string_view text);
inline std::string IntToStr(int value) { return std::to_string(value); }
// Booleans are stored as "-1" and "0".
inline std::string BoolToStr(bool value) { return value ? "-1" : "0"; }
