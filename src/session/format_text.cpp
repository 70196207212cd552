#include "session/format_text.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

QString minutesAndSeconds(qint64 seconds)
{
    const qint64 m = seconds / 60;
    const qint64 r = seconds % 60;
    const QString mm = m >= 10 ? QString::number(m) : QStringLiteral("0%1").arg(m);
    const QString ss = r >= 10 ? QString::number(r) : QStringLiteral("0%1").arg(r);
    return mm + QLatin1Char(':') + ss;
}

static QString replaceFirst(QString text, const QString &what, const QString &with)
{
    const qsizetype at = text.indexOf(what, 0, Qt::CaseInsensitive);
    if (at >= 0)
        text.replace(at, what.size(), with);
    return text;
}

QString shortFormatText(const QString &text)
{
    QString result = text;
    if (result.contains(QLatin1String("MPEG"), Qt::CaseSensitive)) {
        result = replaceFirst(result, QStringLiteral("MPEG 1.0 layer-"), QStringLiteral("MP"));
        result = replaceFirst(result, QStringLiteral("MPEG 2.0 layer-"), QStringLiteral("MP"));
    }
    // The colon after the format's name becomes a space (with any space before it, as French
    // writes it).
    const qsizetype colon = result.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        qsizetype start = colon;
        while (start > 0 && result[start - 1].isSpace())
            --start;
        result.replace(start, colon - start + 1, QLatin1Char(' '));
    }
    return result;
}

namespace {

QLocale userLocale()
{
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

}  // namespace

QString numberText(qint64 n)
{
    return userLocale().toString(n);
}

QString numberText(double value, int decimals)
{
    return userLocale().toString(value, 'f', decimals);
}

QString durationText(qint64 seconds)
{
    if (seconds >= 3600)
        //: A stretch of time in hours and minutes ("2 h 41 min"): %1 hours, %2 minutes.
        //: "h" and "min" are the usual short units of the language.
        return QCoreApplication::translate("FormatText", "%1 h %2 min").arg(numberText(seconds / 3600), numberText(seconds % 3600 / 60));
    if (seconds >= 60)
        //: A stretch of time in minutes ("12 min"); "min" is the usual short unit for minutes.
        return QCoreApplication::translate("FormatText", "%1 min").arg(numberText(seconds / 60));
    //: A stretch of time in seconds ("45 s"); "s" is the usual short unit for seconds.
    return QCoreApplication::translate("FormatText", "%1 s").arg(numberText(std::max<qint64>(0, seconds)));
}

QString diskTimeText(qint64 seconds)
{
    if (seconds < 0)
        return QString();
    //: In the status bar: the recording time that still fits on the disk; %1 is a stretch of
    //: time such as "2 h 41 min".
    return QCoreApplication::translate("FormatText", "%1 left on disk").arg(durationText(seconds));
}

QString diskTimeShortText(qint64 seconds)
{
    if (seconds < 0)
        return QString();
    //: In the status bar, short: the recording time that still fits on the disk; %1 is a
    //: stretch of time such as "2 h 41 min" (the tooltip says "2 h 41 min left on disk").
    return QCoreApplication::translate("FormatText", "%1 left").arg(durationText(seconds));
}

QString countdownText(qint64 seconds)
{
    seconds = std::max<qint64>(0, seconds);
    //: While a recording waits for its set start time: the time left, %1 hours, %2 minutes,
    //: %3 seconds ("Recording in 01:02:03").
    return QCoreApplication::translate("FormatText", "Recording in %1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds % 3600 / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
