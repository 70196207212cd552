// Shared steps of the file list and tag editor tests: real files on disk that the fake
// engine knows, rows added the way recordings and Open add them, rows selected by the user.
// The page's controls are found by their object names.
#pragma once

#include "../app/window_fixture.h"

#include "ui/file_info_page.h"
#include "ui/rename_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace filelist {

inline FileInfoPage &page(WindowFixture &w)
{
    return *w.find<FileInfoPage>(QStringLiteral("fileInfoPage"));
}

inline QTreeWidget &list(WindowFixture &w)
{
    return *w.find<QTreeWidget>(QStringLiteral("fileList"));
}

// The list's popup menu and its entries: "playRowAction", "renameRowAction",
// "removeRowAction", "deleteRowAction".
inline QMenu &popup(WindowFixture &w)
{
    return *w.find<QMenu>(QStringLiteral("fileListMenu"));
}

// The tag editor's controls, found in the page by their object names; a field's label is
// the label that names the field as its buddy.
struct TagEditor {
    explicit TagEditor(QWidget &page) : m_page(page)
    {
        title = find<QLineEdit>("titleEdit");
        artist = find<QLineEdit>("artistEdit");
        album = find<QLineEdit>("albumEdit");
        genre = find<QComboBox>("genreList");
        copyright = find<QLineEdit>("copyrightEdit");
        year = find<QLineEdit>("yearEdit");
        track = find<QLineEdit>("trackEdit");
        comment = find<QLineEdit>("commentEdit");
        version = find<QGroupBox>("tagVersionGroup");
        id3v1 = find<QRadioButton>("id3v1Button");
        id3v2 = find<QRadioButton>("id3v2Button");
        reset = find<QPushButton>("resetButton");
        apply = find<QPushButton>("applyButton");
    }

    QLineEdit *title, *artist, *album, *copyright, *year, *track, *comment;
    QComboBox *genre;
    QGroupBox *version;
    QRadioButton *id3v1, *id3v2;
    QPushButton *reset, *apply;

    // The labels that name field as their buddy.
    QList<QLabel *> labelsOf(const QWidget *field) const
    {
        QList<QLabel *> out;
        for (QLabel *l : m_page.findChildren<QLabel *>())
            if (l->buddy() == field)
                out << l;
        return out;
    }

private:
    template <typename T>
    T *find(const char *name) const
    {
        T *found = m_page.findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qWarning("no %s named %s", T::staticMetaObject.className(), name);
        return found;
    }
    QWidget &m_page;
};

// A file of the given size on disk (filled with its own name, so a test can tell files
// apart) that the fake engine measures as `frames` of 44.1 kHz stereo.
inline QString makeFile(WindowFixture &w, const QString &relative, qint64 bytes = 5000,
                        qint64 frames = 44100 * 10,
                        const QString &description = QStringLiteral("MPEG 1.0 layer-3: 128 kbps, 44100 Hz, Stereo"))
{
    const QString path = w.path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    QByteArray content = relative.toUtf8();
    content = content.repeated(int(bytes / qMax<qsizetype>(1, content.size())) + 1).left(bytes);
    f.write(content);
    f.close();
    w.engine.addFile(path, frames, 44100, 2, description);
    w.engine.files[path].size = bytes;
    return path;
}

inline QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A file made and listed, as a finished recording is.
inline QString addRow(WindowFixture &w, const QString &relative, qint64 bytes = 5000, qint64 frames = 44100 * 10)
{
    const QString path = makeFile(w, relative, bytes, frames);
    w.files().add(path);
    return path;
}

inline QTreeWidgetItem *row(WindowFixture &w, int index)
{
    return list(w).topLevelItem(index);
}

// The user clicks the row (selection-change notification and all).
inline void select(WindowFixture &w, int index)
{
    list(w).setCurrentItem(row(w, index));
}

inline QStringList rowTexts(WindowFixture &w, int index)
{
    QStringList out;
    for (int c = 0; c < 4; ++c)
        out << row(w, index)->text(c);
    return out;
}

inline QStringList notices(const WindowFixture &w)
{
    QStringList out;
    for (const ui::Box &b : w.boxes)
        if (b.kind == ui::BoxKind::Notice)
            out << b.text;
    return out;
}

inline QStringList popupStates(WindowFixture &w)
{
    QStringList out;
    for (QAction *a : popup(w).actions())
        out << a->text() + (a->isEnabled() ? "+" : "-");
    return out;
}

}  // namespace filelist
