// Keeps the part being recorded named. When its name goes (its folder, or any folder above
// it, was removed, or the file itself), the folders are made again and the file is given its
// name back: as one more link to it where it still has a name on that file system (the
// journal's second name keeps one), at once and without a copy; otherwise by a copy into a
// new file while the recording goes on (see IAudioFile2::MoveOpenFile). Where no name can be
// had in the save folder, the part gets one in the rescue folder. Each removal is answered
// once, with one message; the recording goes on into the file under its new name.
#pragma once

#include <QCoreApplication>
#include <QString>

class PartJournal;

namespace engine {
class IAudioFile2;
}

class PartWatch {
    Q_DECLARE_TR_FUNCTIONS(PartWatch)

public:
    // The part written by writer, named path; fd is its file, read only (taken over).
    PartWatch(engine::IAudioFile2 &writer, PartJournal *journal, QString path, int fd, QString rescueFolder);
    ~PartWatch();
    PartWatch(const PartWatch &) = delete;
    PartWatch &operator=(const PartWatch &) = delete;

    struct Report {
        QString notice;         // the part has a name again, and where
        QString failure;        // it could not be given one
        bool renamed = false;   // path() changed
    };
    // Looks once; every second while the part is open.
    Report check();
    // Just before the writer closes the part: a part that lost its name gets one now (where
    // this removal was not answered yet).
    Report beforeClose();
    // After the writer closed the part: false when its file has no name any more (beyond
    // the journal's second name).
    bool settleAfterClose();

    const QString &path() const { return m_path; }
    // The part's file, read only (until a copy has caught up: the old one).
    int fd() const { return m_fd; }

private:
    bool lostName();
    Report giveName();
    // Tries the names of the part in folder; false (and why) when none could be had.
    bool tryFolder(const QString &folder, QString *why);
    Report collectMove();
    bool namesFile(const QString &path) const;

    engine::IAudioFile2 &m_writer;
    PartJournal *m_journal;
    QString m_path;
    int m_fd;
    QString m_rescueFolder;
    qint64 m_links = 0;          // links the file had at the last look
    bool m_moving = false;       // a copy into m_target is under way
    bool m_rescuing = false;     // ... into the rescue folder
    bool m_gaveUp = false;       // this removal could not be answered
    QString m_target;
    QString m_removedFolder;
};
