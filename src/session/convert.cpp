#include "session/convert.h"

#include <QCoreApplication>

std::optional<int> parseInteger(const QString &text)
{
    int i = 0;
    const int n = int(text.size());
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    bool hex = false;
    if (i < n && text[i] == QLatin1Char('$')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0')
               && (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        hex = true;
        i += 2;
    }
    if (i >= n)
        return std::nullopt;
    const auto digitOf = [hex](QChar c) {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return int(u - u'0');
        if (hex && u >= u'a' && u <= u'f')
            return int(u - u'a' + 10);
        if (hex && u >= u'A' && u <= u'F')
            return int(u - u'A' + 10);
        return -1;
    };
    quint64 value = 0;
    for (; i < n; ++i) {
        const int digit = digitOf(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + quint64(digit);
        if (hex ? value > 0xFFFFFFFFull : value > 0x80000000ull)
            return std::nullopt;
    }
    if (hex) {
        const qint32 bits = qint32(quint32(value));
        return negative ? -bits : bits;
    }
    if (!negative && value > 0x7FFFFFFFull)
        return std::nullopt;
    return negative ? int(-qint64(value)) : int(value);
}

int toInteger(const QString &text)
{
    if (const auto v = parseInteger(text))
        return *v;
    //: %1 is the text typed.
    throw ConvertError(QCoreApplication::translate("Convert", "'%1' is not a valid integer value").arg(text));
}

std::optional<int> parseWholeNumber(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}
