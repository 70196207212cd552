// The writing side of a recording: a thread of its own takes the captured sound out of the
// capture ring and writes it into the part's file. It owns everything a part needs on the
// way to the disk: the file component (encoder and writer), the part's journal, the watch
// that keeps the part named, and the disk runway. A window that stalls never stalls the
// writing, and a disk that stalls never stalls the window: the ring holds what is not
// written yet, and sound the ring had to give up before it was written is counted.
//
// The UI thread hands the work over in order: open a part at a ring position, write up to a
// position, split there, close or finish the part. What the thread has to say comes back as
// signals on the UI thread: a part started or ended, a part renamed, sound lost, and the end
// of writing (a write the disk refused, a full disk, a next part that could not start), after
// which nothing more is written until the part is finished.
//
// A part is one file, or three when the mix keeps its sides apart: the mix, then each side
// in a file of its own beside it ("Untitled4 (microphone).flac"), cut from the same ring
// frames. The three files of a part begin and end at the same frame, hold the same markers,
// have a journal, a watch and the disk's runway each, and split together.
#pragma once

#include "engine/engine.h"
#include "session/disk_runway.h"
#include "session/part_watch.h"
#include "session/recording_settings.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CaptureRing;
class PartJournal;
class ReservedFile;

class PartWriter : public QObject {
    Q_OBJECT

public:
    // A part that ended: its file, frames and rate; why it did not end cleanly, if so.
    struct Finished {
        QString path;          // empty: there was no part
        QStringList sidePaths; // the sides' files beside it, when kept
        qint64 frames = 0;
        int rate = 0;
        QString failure;       // closing failed, or the part has no name left
        bool lost = false;     // the part has no name left (failure says whether it is kept)
    };

    // What a side's file adds to the part's name, side by side: " (microphone)", " (computer)".
    static const QStringList &sideSuffixes();

    PartWriter(engine::IEngineFactory &engine, CaptureRing &ring, QObject *parent = nullptr);
    ~PartWriter() override;   // a part still open is finished first

    // For the parts to come.
    void setSettings(const RecordingSettings &settings);
    void setJournalFolder(const QString &folder);
    void setRescueFolder(const QString &folder);
    void setRunway(const DiskRunway &runway);

    // Opens a part in the reserved file (taken over) whose first frame is ring position from,
    // written in slices of sliceFrames; waits for it and returns the format written. With
    // sides (the reserved files of sideSuffixes, taken over too), each ring frame holds the
    // mix and then each side, and each side goes into its own file, in this part and every
    // part after it. Throws std::runtime_error with the reason when a file cannot be written
    // (the reserved files are removed).
    QString open(ReservedFile &file, std::vector<ReservedFile> sides, qint64 from, qint64 sliceFrames);
    // Hands the ring from..to over to the part (what lies between the last hand-over and
    // from is left out); fadeIn: its first frames join after a pause.
    void write(qint64 from, qint64 to, bool fadeIn = false);
    // Ends the part at position at and goes on in a new part from there.
    void split(qint64 at);
    // A marker at ring position at (what capture had delivered when it was asked for): it
    // goes into the part that writes that position, timed from that part's start. One asked
    // for while nothing is written (paused, resting, waiting for sound) marks the next frame
    // written, or the end of the part when the run ends first. The part's journal holds it at
    // once; the file gets its markers when the part ends (and at repair after a crash).
    void addMarker(qint64 at, const QString &name);
    // Ends the part after what was handed over; partFinished follows.
    void close();
    // Ends the part after what was handed over and waits: its outcome (no partFinished).
    Finished finish();
    // Waits until everything handed over is done, then delivers what the thread reported.
    void flush();

    bool isOpen() const { return m_open; }
    // The files a part of the run has: 1, or 3 with the sides (the UI thread's view).
    int filesPerPart() const { return m_filesPerPart; }
    // The part's data rate as written, bytes a second; 0 until it has run for a while.
    double measuredBytesPerSecond() const { return m_measuredRate.load(); }

signals:
    // A part the writer began by itself (a split, a full file).
    void partStarted(const QString &path, const QString &formatDescription);
    void partFinished(const PartWriter::Finished &part);   // a split, a roll-over, close()
    void partRenamed(const QString &path);
    void notice(const QString &text);
    // Said; the recording goes on (the part's name could not be kept, sound was lost because
    // the disk did not keep up).
    void problem(const QString &text);
    void stopped(const QString &reason);        // nothing more is written: the run must end

private:
    // On the writer's thread.
    void run();
    struct Track;
    // "" or why not; *format gets the format written.
    QString openPart(ReservedFile &file, std::vector<ReservedFile> &sides, qint64 from, QString *format);
    // "" or why not: the track's file is made in the reserved one, with its journal and watch.
    QString openTrack(Track &track, ReservedFile &file);
    // Closes the track's file; false (and why, in part) when it was not closed or lost its name.
    bool closeTrack(Track &track, Finished &part);
    void writeUpTo(qint64 to, bool fadeIn);
    bool writeBlock(const engine::SampleArray &block);
    bool nextPart();
    // endsRun: markers still waiting for their frame go to this part's end.
    Finished closePart(bool endsRun);
    // The waiting markers the block just written (ring from..to, starting at part frame
    // first) holds get their place in the part.
    void placeMarkers(qint64 from, qint64 to, qint64 first);
    void journalMarkers();
    void writeMarkers(Track &track);
    void watchTick();
    void tellWatch(Track &track, const PartWatch::Report &report);
    void refuse(const QString &reason);
    double bytesPerSecond();
    // Hands a report to the UI thread.
    void post(std::function<void()> report);
    // On the UI thread.
    void enqueue(std::function<void()> job);
    void deliver();

    CaptureRing &m_ring;
    // Only the writer's thread touches these once it runs.
    // A file of the part: the mix (the first), or a side.
    struct Track {
        std::unique_ptr<engine::IAudioFile2> writer;
        std::unique_ptr<engine::IAudioFile2LameEnc> encoder;
        std::unique_ptr<PartJournal> journal;
        std::unique_ptr<PartWatch> watch;
        QString path;
    };
    std::array<Track, 3> m_tracks;
    int m_trackCount = 1;        // the tracks of the run's parts: 1, or 3 with the sides
    Track &mix() { return m_tracks[0]; }
    RecordingSettings m_settings;
    QString m_journalFolder;
    QString m_rescueFolder;
    DiskRunway m_runway;
    bool m_partOpen = false;
    bool m_refusing = false;     // writing ended; nothing more until the part is finished
    bool m_fadeNext = false;
    qint64 m_cursor = 0;
    qint64 m_sliceFrames = 8820;
    qint64 m_sinceWatchMs = 0;
    bool m_lossTold = false;     // sound the ring gave up is said once a run
    qint64 m_partFrames = 0;     // written into the part
    struct WaitingMarker {
        qint64 at;               // ring position
        QString name;
    };
    std::vector<WaitingMarker> m_waitingMarkers;
    std::vector<engine::FileMarker> m_partMarkers;

    bool m_open = false;         // the UI thread's view: a part is open or being opened
    int m_filesPerPart = 1;
    std::atomic<double> m_measuredRate{0.0};

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    std::deque<std::function<void()>> m_reports;
    bool m_busy = false;
    bool m_deliveryPosted = false;
    bool m_quit = false;
    std::thread m_thread;
};
