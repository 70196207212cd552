// The journal of a recording part: while a part is open, a small file in the settings folder
// names it (its absolute path, the device and inode of its file, the format written, when it
// started), a lock next to it says that this program is alive, and, where the journals live
// on the part's file system, a second name of the part's file keeps the recording even when
// every folder above the part is removed. A normal end removes all three. A journal whose
// lock no living program holds was left by a recording that was interrupted (the program or
// the machine died, or the file could not be closed): at the next start its file is repaired
// and listed (see part_recovery.h).
//
// The journals folder is the program's own (mode 0700, owned by the user, never a link);
// journals are made with O_EXCL|O_NOFOLLOW, so nothing planted there is written through.
#pragma once

#include "engine/engine.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <sys/types.h>

#include <memory>
#include <optional>
#include <vector>

class QLockFile;

// What a journal says.
struct JournalEntry {
    QString partPath;        // absolute
    dev_t device = 0;        // of the part's file; 0 with inode 0: not known
    ino_t inode = 0;
    QString format;          // the extension written (".flac")
    QDateTime started;
    QString secondName;      // file name of the second name in the journals folder; "" = none
    bool repairStarted = false;   // a repair of it began (and may have crashed the program)
    bool told = false;       // the user was told that its file is not reachable
    // The part's markers so far (a marker not yet placed is at the end written), written into
    // the file at a normal end and at repair.
    std::vector<engine::FileMarker> markers;

    bool identityKnown() const { return device != 0 || inode != 0; }
};

class PartJournal {
public:
    // Writes the journal of the part open as fd and named partPath, before its first block,
    // in folder + "/journals/". Returns nothing when it cannot be written (the recording goes
    // on, without that protection).
    static std::unique_ptr<PartJournal> open(const QString &folder, const QString &partPath, int fd,
                                             const QString &format);
    ~PartJournal();   // the part ended normally: journal, second name and lock go (see keep())

    // The part has a new name (its folder was made again, or it went to the rescue folder),
    // and fd is its file now (a copy is another file): the journal and the second name follow.
    void setPart(const QString &partPath, int fd);
    // The part could not be finished normally (closing it failed, or it has no name left but
    // the second one): the journal and the second name stay for the next start; only the lock
    // goes.
    void keep() { m_kept = true; }
    // The part's markers now; false when the journal could not be written.
    bool setMarkers(const std::vector<engine::FileMarker> &markers);
    // The second name's path while it is the part's file; "" when there is none.
    QString secondNamePath() const;

    // The journals folder of a settings folder.
    static QString folderOf(const QString &settingsFolder);
    // Makes the journals folder the program's own: created with mode 0700, or an existing one
    // brought to 0700. False when it is not a folder of this user (a link, another owner).
    static bool secureFolder(const QString &journals);
    // The journal at path, or nothing when it is no regular file of this user or says nothing
    // usable.
    static std::optional<JournalEntry> read(const QString &path);
    // Replaces the journal at path (written beside it, then renamed into place, and synced).
    static bool write(const QString &path, const JournalEntry &entry);
    // Removes a journal with its second name and lock.
    static void remove(const QString &path);
    static QString lockPathOf(const QString &journalPath);

private:
    PartJournal(QString journalPath, std::unique_ptr<QLockFile> lock, JournalEntry entry);
    void makeSecondName(int fd);

    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    JournalEntry m_entry;
    bool m_kept = false;
};

// A part that an interrupted run left behind.
struct InterruptedPart {
    QString journalPath;
    JournalEntry entry;
    // The second name's path ("" when the journal has none).
    QString secondNamePath() const;
};

// The journals in folder + "/journals/" whose lock no living program holds; the locks of the
// ones returned are taken, so no second program repairs the same files. Never throws.
class InterruptedParts {
public:
    explicit InterruptedParts(const QString &folder);
    ~InterruptedParts();
    const QList<InterruptedPart> &parts() const { return m_parts; }
    // Done with this part: its journal, second name and lock go.
    void forget(const InterruptedPart &part);
    // The journal says more now (a repair started, the user was told); false when it could
    // not be written.
    bool update(InterruptedPart &part);

private:
    QList<InterruptedPart> m_parts;
    QList<std::shared_ptr<QLockFile>> m_locks;
};
