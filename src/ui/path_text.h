#pragma once

#include <QFontMetrics>
#include <QString>

// The path shortened to a pixel width by replacing leading folders with an ellipsis:
// "/home/ann/music/rec/Untitled1.mp3" may become "/.../rec/Untitled1.mp3". A name that
// does not fit even then is elided at its start.
QString shortenPath(const QString &path, const QFontMetrics &metrics, int width);
