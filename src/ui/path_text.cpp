#include "ui/path_text.h"

#include <QStringList>

QString shortenPath(const QString &path, const QFontMetrics &metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const QString ellipsis = QStringLiteral("...");
    QStringList parts = path.split(QLatin1Char('/'));
    const QString root = parts.value(0);   // empty for an absolute path
    // Drop folders after the root, one at a time, until the rest fits.
    while (parts.size() > 2) {
        parts.removeAt(1);
        const QString candidate = root + QLatin1Char('/') + ellipsis + QLatin1Char('/')
                                  + QStringList(parts.mid(1)).join(QLatin1Char('/'));
        if (metrics.horizontalAdvance(candidate) <= width)
            return candidate;
    }
    return metrics.elidedText(path, Qt::ElideLeft, width);
}
