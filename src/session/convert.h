// Number conversions shared by the settings, the tag editor and the dialogs.
#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

// A 32-bit integer from text: leading blanks, an optional sign, then decimal digits or "$"
// (or "0x") and hexadecimal digits, and nothing after the number. Hexadecimal texts may give
// any 32-bit pattern ("$FFFFFFFF" is -1). Returns nothing when the text is not such a number.
std::optional<int> parseInteger(const QString &text);

class ConvertError : public std::runtime_error {
public:
    explicit ConvertError(const QString &text) : std::runtime_error(text.toStdString()) {}
};

// As parseInteger, but throws ConvertError "'<text>' is not a valid integer value".
int toInteger(const QString &text);

// A whole decimal number (optional sign, digits, surrounding blanks allowed) within 32 bits.
std::optional<int> parseWholeNumber(const QString &text);
