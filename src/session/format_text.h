// Texts of the recorded-file list and the status bar.
#pragma once

#include <QString>

// Minutes and seconds of a whole number of seconds, at least two digits on each side:
// 0 -> "00:00", 65 -> "01:05", 3725 -> "62:05", 6000 -> "100:00".
QString minutesAndSeconds(qint64 seconds);

// A format description made short for the status bar: "MPEG 1.0 layer-" and then
// "MPEG 2.0 layer-" become "MP" (first occurrence each, any case, only when the text says
// "MPEG"), and the first ":" becomes a blank.
QString shortFormatText(const QString &text);

// A stretch of time in the largest fitting units: "2 h 41 min", "12 min", "45 s".
QString durationText(qint64 seconds);

// A number as the user's locale writes it ("1.234.567", "1,5" in German); the C locale
// writes it plainly ("1234567", "1.5").
QString numberText(qint64 n);
QString numberText(double value, int decimals);

// What panel 0 shows while a recording is scheduled: "Recording in 01:02:03".
QString countdownText(qint64 seconds);

// The room left on a disk in recording time, for the status bar: "2 h 41 min left on disk",
// "12 min left on disk", "45 s left on disk"; empty for an unknown amount (negative).
QString diskTimeText(qint64 seconds);
// The same, short, for a status bar: "2 h 41 min left"; empty when unknown.
QString diskTimeShortText(qint64 seconds);
