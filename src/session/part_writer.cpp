#include "session/part_writer.h"

#include "session/capture_ring.h"
#include "session/file_operations.h"
#include "session/save_format.h"
#include "session/format_text.h"
#include "session/part_journal.h"
#include "session/part_watch.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPair>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr qint64 kWatchMs = 1000;
// The rate of a part is measured once it holds this much.
constexpr double kMeasureAfterSeconds = 2.0;
// The first frames after a pause fade in over this long: the sound on either side does not
// line up.
constexpr int kJoinFadeMs = 3;

}  // namespace

const QStringList &PartWriter::sideSuffixes()
{
    static const QStringList suffixes{QStringLiteral(" (microphone)"), QStringLiteral(" (computer)")};
    return suffixes;
}

PartWriter::PartWriter(engine::IEngineFactory &engine, CaptureRing &ring, QObject *parent)
    : QObject(parent), m_ring(ring)
{
    mix().writer = engine.createFile(QStringLiteral("writer"));
    mix().encoder = engine.createLameEncoder(QStringLiteral("mp3Encoder"));
    const QString sides[] = {QStringLiteral("microphone"), QStringLiteral("computer")};
    for (int k = 0; k < 2; ++k) {
        m_tracks[size_t(k + 1)].writer = engine.createFile(sides[k] + QStringLiteral("Writer"));
        m_tracks[size_t(k + 1)].encoder = engine.createLameEncoder(sides[k] + QStringLiteral("Mp3Encoder"));
    }
    m_thread = std::thread(&PartWriter::run, this);
}

PartWriter::~PartWriter()
{
    enqueue([this] { closePart(true); });
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_quit = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

// ---- the UI thread's side --------------------------------------------------------------------

void PartWriter::enqueue(std::function<void()> job)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

void PartWriter::flush()
{
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
    }
    deliver();
}

void PartWriter::deliver()
{
    // One report at a time: a report may lead to more work and another flush.
    for (;;) {
        std::function<void()> report;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_reports.empty()) {
                m_deliveryPosted = false;
                return;
            }
            report = std::move(m_reports.front());
            m_reports.pop_front();
        }
        report();
    }
}

void PartWriter::setSettings(const RecordingSettings &settings)
{
    enqueue([this, settings] {
        m_settings = settings;
        for (Track &track : m_tracks)
            applyOutputFormat(m_settings, *track.writer, *track.encoder);
    });
}

void PartWriter::setJournalFolder(const QString &folder)
{
    enqueue([this, folder] { m_journalFolder = folder; });
}

void PartWriter::setRescueFolder(const QString &folder)
{
    enqueue([this, folder] { m_rescueFolder = folder; });
}

void PartWriter::setRunway(const DiskRunway &runway)
{
    enqueue([this, runway] { m_runway = runway; });
}

QString PartWriter::open(ReservedFile &file, std::vector<ReservedFile> sides, qint64 from, qint64 sliceFrames)
{
    auto reserved = std::make_shared<ReservedFile>(std::move(file));
    auto reservedSides = std::make_shared<std::vector<ReservedFile>>(std::move(sides));
    auto outcome = std::make_shared<QPair<QString, QString>>();
    m_open = true;
    m_filesPerPart = reservedSides->size() == 2 ? 3 : 1;
    enqueue([this, reserved, reservedSides, from, sliceFrames, outcome] {
        m_sliceFrames = std::max<qint64>(1, sliceFrames);
        m_lossTold = false;
        m_trackCount = reservedSides->size() == 2 ? 3 : 1;
        outcome->first = openPart(*reserved, *reservedSides, from, &outcome->second);
    });
    flush();
    if (!outcome->first.isEmpty()) {
        m_open = false;
        throw std::runtime_error(outcome->first.toStdString());
    }
    return outcome->second;
}

void PartWriter::write(qint64 from, qint64 to, bool fadeIn)
{
    enqueue([this, from, to, fadeIn] {
        m_cursor = std::max(m_cursor, from);
        writeUpTo(to, fadeIn);
    });
}

void PartWriter::split(qint64 at)
{
    enqueue([this, at] {
        writeUpTo(at, false);
        if (m_partOpen && !m_refusing)
            nextPart();
    });
}

void PartWriter::addMarker(qint64 at, const QString &name)
{
    enqueue([this, at, name] {
        if (m_partOpen && at < m_cursor)   // written already: its frame is known
            m_partMarkers.push_back({std::max<qint64>(0, m_partFrames - (m_cursor - at)), name});
        else
            m_waitingMarkers.push_back({at, name});
        journalMarkers();
    });
}

void PartWriter::placeMarkers(qint64 from, qint64 to, qint64 first)
{
    auto m = m_waitingMarkers.begin();
    bool placed = false;
    while (m != m_waitingMarkers.end()) {
        if (m->at >= to) {
            ++m;
            continue;
        }
        m_partMarkers.push_back({std::min(m_partFrames, first + std::max<qint64>(0, m->at - from)), m->name});
        m = m_waitingMarkers.erase(m);
        placed = true;
    }
    if (placed)
        journalMarkers();
}

void PartWriter::journalMarkers()
{
    std::vector<engine::FileMarker> markers = m_partMarkers;
    for (const WaitingMarker &m : m_waitingMarkers)
        markers.push_back({m_partFrames, m.name});
    for (int t = 0; t < m_trackCount; ++t)
        if (m_tracks[size_t(t)].journal)
            m_tracks[size_t(t)].journal->setMarkers(markers);
}

void PartWriter::writeMarkers(Track &track)
{
    std::vector<engine::FileMarker> markers = m_partMarkers;
    if (markers.empty())
        return;
    std::stable_sort(markers.begin(), markers.end(),
                     [](const engine::FileMarker &a, const engine::FileMarker &b) { return a.frame < b.frame; });
    try {
        track.writer->SetMarkers(track.path, markers);
    } catch (const std::exception &e) {
        const QString text = QString::fromUtf8(e.what());
        post([this, text] { emit problem(text); });
    }
}

void PartWriter::close()
{
    m_open = false;
    enqueue([this] {
        if (!m_partOpen)
            return;
        const Finished part = closePart(true);
        post([this, part] { emit partFinished(part); });
    });
}

PartWriter::Finished PartWriter::finish()
{
    m_open = false;
    auto part = std::make_shared<Finished>();
    enqueue([this, part] { *part = closePart(true); });
    flush();
    return *part;
}

// ---- the writer's thread ------------------------------------------------------------------------

void PartWriter::post(std::function<void()> report)
{
    bool postDelivery = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_reports.push_back(std::move(report));
        postDelivery = !std::exchange(m_deliveryPosted, true);
    }
    if (postDelivery)
        QMetaObject::invokeMethod(this, [this] { deliver(); }, Qt::QueuedConnection);
}

void PartWriter::run()
{
    QElapsedTimer clock;
    clock.start();
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        if (m_jobs.empty()) {
            m_idle.notify_all();
            if (m_quit)
                return;
            // The watch looks at an open part once a second, between jobs as much as idle.
            m_wake.wait_for(lock, std::chrono::milliseconds(kWatchMs));
        }
        std::function<void()> job;
        if (!m_jobs.empty()) {
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        m_busy = true;
        lock.unlock();
        if (job)
            job();
        if (m_partOpen && clock.elapsed() - m_sinceWatchMs >= kWatchMs) {
            m_sinceWatchMs = clock.elapsed();
            watchTick();
        }
        lock.lock();
        m_busy = false;
    }
}

QString PartWriter::openTrack(Track &track, ReservedFile &file)
{
    const QString path = file.path();
    // The file made for the part is the one written, whatever its name meanwhile leads to.
    const int watchFd = ::fcntl(file.fd(), F_DUPFD_CLOEXEC, 0);
    try {
        track.writer->CreateReserved(file.take(), path, 0);
    } catch (const std::exception &e) {
        if (watchFd >= 0)
            ::close(watchFd);
        QFile::remove(path);   // made for this part, and never written
        return QString::fromUtf8(e.what());
    }
    // The journal exists before the first block, so a crash from now on is recovered.
    track.journal = PartJournal::open(m_journalFolder, path, watchFd, fileExtension(m_settings));
    track.watch = std::make_unique<PartWatch>(*track.writer, track.journal.get(), path, watchFd, m_rescueFolder);
    track.path = path;
    return QString();
}

QString PartWriter::openPart(ReservedFile &file, std::vector<ReservedFile> &sides, qint64 from, QString *format)
{
    QString failure = openTrack(mix(), file);
    for (int t = 1; t < m_trackCount && failure.isEmpty(); ++t)
        failure = openTrack(m_tracks[size_t(t)], sides[size_t(t - 1)]);
    if (!failure.isEmpty()) {
        // None of the part's files was written: they all go.
        for (int t = 0; t < m_trackCount; ++t) {
            Track &track = m_tracks[size_t(t)];
            if (!track.watch)
                continue;
            try {
                track.writer->Close();
            } catch (const std::exception &) {
            }
            QFile::remove(track.path);
            track.watch.reset();
            track.journal.reset();
        }
        for (ReservedFile &side : sides)
            if (side.fd() >= 0)
                QFile::remove(side.path());
        return failure;
    }
    m_partOpen = true;
    m_refusing = false;
    m_fadeNext = false;
    m_cursor = from;
    m_partFrames = 0;
    m_partMarkers.clear();
    journalMarkers();
    m_measuredRate = 0.0;
    *format = mix().writer->GetFormatDescription();
    return QString();
}

void PartWriter::writeUpTo(qint64 to, bool fadeIn)
{
    if (!m_partOpen || m_refusing)
        return;
    m_fadeNext = m_fadeNext || fadeIn;
    while (m_cursor < to) {
        const qint64 end = std::min(to, m_cursor + m_sliceFrames);
        qint64 lost = 0;
        const qint64 from = m_cursor;
        engine::SampleArray block = m_ring.slice(m_cursor, end, &lost);
        m_cursor = end;
        if (lost > 0 && !std::exchange(m_lossTold, true)) {
            //: %1 is a stretch of time ("12 s"), %2 a file name.
            const QString text = tr("The disk did not keep up with the recording: %1 of sound could not be "
                                    "written to %2. The recording goes on.")
                                     .arg(durationText(std::max<qint64>(1, lost / std::max(1, m_ring.rate()))),
                                          QFileInfo(mix().path).fileName());
            post([this, text] { emit problem(text); });
        }
        if (block.isEmpty())
            continue;
        if (std::exchange(m_fadeNext, false)) {
            std::vector<float> samples = block.toFloat();
            const int ch = block.channels();
            const qint64 fade = std::min<qint64>(block.frames(), qint64(block.sampleRate()) * kJoinFadeMs / 1000);
            for (qint64 f = 0; f < fade; ++f)
                for (int c = 0; c < ch; ++c)
                    samples[size_t(f * ch + c)] *= float(f) / float(fade);
            block = engine::SampleArray::fromFloat(samples, block.sampleRate(), ch);
        }
        if (!writeBlock(block))
            return;
        placeMarkers(from, end, m_partFrames - block.frames());
    }
}

bool PartWriter::writeBlock(const engine::SampleArray &block)
{
    // The run ends cleanly while the disk still holds enough to finish the files.
    if (m_runway.mustStop(mix().path, bytesPerSecond())) {
        //: Why a recording ended, said after "The recording was stopped: "; %1 is a folder.
        refuse(tr("the disk of %1 is full. The file holds everything recorded until now")
                   .arg(QFileInfo(mix().path).path()));
        return false;
    }
    // With the sides, each ring frame holds the mix and then each side: one block a file.
    std::array<engine::SampleArray, 3> blocks;
    if (m_trackCount == 1) {
        blocks[0] = block;
    } else {
        const int ch = block.channels() / m_trackCount;
        const std::vector<float> wide = block.toFloat();
        std::vector<float> one(size_t(block.frames() * ch));
        for (int t = 0; t < m_trackCount; ++t) {
            for (qint64 f = 0; f < block.frames(); ++f)
                std::copy_n(wide.data() + (f * m_trackCount + t) * ch, ch, one.data() + f * ch);
            blocks[size_t(t)] = engine::SampleArray::fromFloat(one, block.sampleRate(), ch);
        }
    }
    try {
        try {
            mix().writer->WriteArray(blocks[0]);
        } catch (const engine::FileLimitError &) {
            // The file holds all it can: the same block begins the next part. The sides hold
            // as much as the mix in the same format, so they all reach that point together.
            if (!nextPart())
                return false;
            mix().writer->WriteArray(blocks[0]);
        }
        for (int t = 1; t < m_trackCount; ++t)
            m_tracks[size_t(t)].writer->WriteArray(blocks[size_t(t)]);
    } catch (const std::exception &e) {
        refuse(QString::fromUtf8(e.what()));
        return false;
    }
    m_partFrames += block.frames();
    return true;
}

bool PartWriter::nextPart()
{
    const Finished part = closePart(false);
    post([this, part] { emit partFinished(part); });
    if (!part.failure.isEmpty()) {
        refuse(part.failure);
        return false;
    }
    QString failure;
    try {
        const QString folder = m_settings.savePath;
        if (!QDir().mkpath(folder))
            throw std::runtime_error(tr("Cannot create %1").arg(folder).toStdString());
        std::vector<ReservedFile> sides;
        ReservedFile next = reservePartFile(folder, m_settings.partStem, fileExtension(m_settings), false,
                                            m_trackCount > 1 ? sideSuffixes() : QStringList(), &sides);
        QString format;
        failure = openPart(next, sides, m_cursor, &format);
        if (failure.isEmpty())
            post([this, path = mix().path, format] { emit partStarted(path, format); });
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    if (!failure.isEmpty()) {
        refuse(failure);
        return false;
    }
    return true;
}

PartWriter::Finished PartWriter::closePart(bool endsRun)
{
    Finished part;
    if (!m_partOpen) {
        // A run that ends before its first part (armed for sound) has no file to mark.
        if (endsRun)
            m_waitingMarkers.clear();
        return part;
    }
    m_partOpen = false;
    if (endsRun) {
        for (const WaitingMarker &m : std::exchange(m_waitingMarkers, {}))
            m_partMarkers.push_back({m_partFrames, m.name});
        journalMarkers();
    }
    try {
        part.frames = mix().writer->GetNumSamples();
        part.rate = mix().writer->GetFormatValueA();
    } catch (const std::exception &) {
        // Closing says what is wrong.
    }
    for (int t = 0; t < m_trackCount; ++t) {
        Track &track = m_tracks[size_t(t)];
        Finished closed;
        closeTrack(track, closed);
        if (t == 0)
            part.path = track.path;
        else
            part.sidePaths.append(track.path);
        // The mix's trouble is said first; a side's when the mix had none.
        if (part.failure.isEmpty()) {
            part.failure = closed.failure;
            part.lost = closed.lost;
        }
    }
    m_partMarkers.clear();
    return part;
}

bool PartWriter::closeTrack(Track &track, Finished &part)
{
    if (track.watch)
        tellWatch(track, track.watch->beforeClose());
    bool closed = true;
    try {
        track.writer->Close();
    } catch (const std::exception &e) {
        part.failure = QString::fromUtf8(e.what());
        closed = false;
    }
    bool named = true;
    if (track.watch) {
        named = track.watch->settleAfterClose();
        track.path = track.watch->path();
    }
    // A file that could not be closed normally, or that only the journal's second name
    // holds, keeps its journal: the next start repairs it, or gives it a name.
    const QString second = track.journal ? track.journal->secondNamePath() : QString();
    const bool heldByJournal = !second.isEmpty() && QFileInfo::exists(second);
    if (!named) {
        part.lost = true;
        part.failure = heldByJournal
                           ? tr("%1 has no name left; it is kept and will be recovered at the next start").arg(track.path)
                           : tr("%1 has no name left: what was recorded into it is lost").arg(track.path);
    }
    if (track.journal && (!closed || (!named && heldByJournal)))
        track.journal->keep();
    // The markers go into a file that was closed and kept its name; otherwise the journal
    // keeps them for the next start's repair.
    if (closed && named)
        writeMarkers(track);
    track.watch.reset();
    track.journal.reset();
    return closed && named;
}

void PartWriter::watchTick()
{
    for (int t = 0; t < m_trackCount; ++t)
        if (m_tracks[size_t(t)].watch)
            tellWatch(m_tracks[size_t(t)], m_tracks[size_t(t)].watch->check());
}

void PartWriter::tellWatch(Track &track, const PartWatch::Report &report)
{
    if (report.renamed) {
        track.path = track.watch->path();
        if (&track == &mix())
            post([this, path = track.path] { emit partRenamed(path); });
    }
    if (!report.notice.isEmpty())
        post([this, text = report.notice] { emit notice(text); });
    if (!report.failure.isEmpty())
        post([this, text = report.failure] { emit problem(text); });
}

void PartWriter::refuse(const QString &reason)
{
    m_refusing = true;
    post([this, reason] { emit stopped(reason); });
}

double PartWriter::bytesPerSecond()
{
    // Every file of the part counts: once a file holds enough, its own rate; before that, the
    // most the format can use.
    const double bound = boundBytesPerSecond(m_settings);
    double total = 0;
    bool measured = true;
    for (int t = 0; t < m_trackCount; ++t) {
        Track &track = m_tracks[size_t(t)];
        struct stat st {};
        const qint64 frames = track.writer->GetNumSamples();
        const int rate = track.writer->GetFormatValueA();
        if (!track.watch || track.watch->fd() < 0 || rate <= 0 || frames < qint64(kMeasureAfterSeconds * rate)
            || ::fstat(track.watch->fd(), &st) != 0) {
            total += bound;
            measured = false;
            continue;
        }
        total += std::max(1.0, double(st.st_size) * rate / double(frames));
    }
    if (measured)
        m_measuredRate = total;
    return total;
}
