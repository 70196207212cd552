#include "settings/ini_file.h"

#include "settings/convert.h"

#include <QFile>
#include <QList>

namespace {

QList<QByteArray> splitLines(const QByteArray &text)
{
    // Keeps each line's own ending so that untouched lines are written back unchanged.
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            lines.append(text.mid(start));
            break;
        }
        lines.append(text.mid(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

QString lineText(const QByteArray &line)
{
    QByteArray t = line;
    while (t.endsWith('\n') || t.endsWith('\r'))
        t.chop(1);
    return QString::fromUtf8(t);
}

// The section name when the line is a section header.
bool sectionName(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// The key and value when the line is "key=value".
bool keyValue(const QString &line, QString *key, QString *value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    if (key->isEmpty() || key->startsWith(QLatin1Char(';')))
        return false;
    QString v = line.mid(eq + 1).trimmed();
    if (v.size() >= 2
        && ((v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"')))
            || (v.startsWith(QLatin1Char('\'')) && v.endsWith(QLatin1Char('\'')))))
        v = v.mid(1, v.size() - 2);
    *value = v;
    return true;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

QString IniFile::ReadString(const QString &section, const QString &key,
                            const QString &defaultValue) const
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return defaultValue;
    const QList<QByteArray> lines = splitLines(f.readAll());
    bool inSection = false;
    bool sectionSeen = false;
    for (const QByteArray &raw : lines) {
        const QString line = lineText(raw);
        QString name;
        if (sectionName(line, &name)) {
            if (inSection)
                break;   // the first section of that name is the one that counts
            inSection = !sectionSeen && sameName(name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        QString k, v;
        if (inSection && keyValue(line, &k, &v) && sameName(k, key))
            return v;
    }
    return defaultValue;
}

int IniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    const QString text = ReadString(section, key, QString());
    return StrToIntOpt(text).value_or(defaultValue);
}

void IniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const auto refuse = [this]() {
        return SettingsError(QStringLiteral("Unable to write to %1").arg(m_path));
    };

    QFile f(m_path);
    // Open for read and write so that a read-only file is refused rather than replaced.
    if (!f.open(QIODevice::ReadWrite))
        throw refuse();
    QList<QByteArray> lines = splitLines(f.readAll());

    QByteArray eol = "\n";
    for (const QByteArray &l : lines)
        if (l.endsWith("\r\n")) {
            eol = "\r\n";
            break;
        }
    const QByteArray newLine = (key + QLatin1Char('=') + value).toUtf8() + eol;

    qsizetype sectionAt = -1;   // index of the section header
    qsizetype lastKeyAt = -1;   // index of the section's last key line
    qsizetype keyAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lineText(lines[i]);
        QString name;
        if (sectionName(line, &name)) {
            if (sectionAt >= 0)
                break;
            if (sameName(name, section)) {
                sectionAt = i;
                lastKeyAt = i;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        QString k, v;
        if (keyValue(line, &k, &v)) {
            lastKeyAt = i;
            if (sameName(k, key)) {
                keyAt = i;
                break;
            }
        } else if (!line.trimmed().isEmpty()) {
            lastKeyAt = i;
        }
    }

    // A last line without its line end gets one before anything follows it.
    if (!lines.isEmpty() && !lines.last().endsWith('\n') && keyAt != lines.size() - 1)
        lines.last().append(eol);

    if (keyAt >= 0) {
        lines[keyAt] = newLine;
    } else if (sectionAt >= 0) {
        lines.insert(lastKeyAt + 1, newLine);
    } else {
        lines.append((QLatin1Char('[') + section + QLatin1Char(']')).toUtf8() + eol);
        lines.append(newLine);
    }

    QByteArray out;
    for (const QByteArray &l : lines)
        out += l;
    if (!f.seek(0) || f.write(out) != out.size() || !f.resize(out.size()) || !f.flush())
        throw refuse();
}

void IniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}
