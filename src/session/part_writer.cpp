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

PartWriter::PartWriter(engine::IEngineFactory &engine, CaptureRing &ring, QObject *parent)
    : QObject(parent),
      m_ring(ring),
      m_writer(engine.createFile(QStringLiteral("writer"))),
      m_encoder(engine.createLameEncoder(QStringLiteral("mp3Encoder")))
{
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
        applyOutputFormat(m_settings, *m_writer, *m_encoder);
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

QString PartWriter::open(ReservedFile &file, qint64 from, qint64 sliceFrames)
{
    auto reserved = std::make_shared<ReservedFile>(std::move(file));
    auto outcome = std::make_shared<QPair<QString, QString>>();
    m_open = true;
    enqueue([this, reserved, from, sliceFrames, outcome] {
        m_sliceFrames = std::max<qint64>(1, sliceFrames);
        m_lossTold = false;
        outcome->first = openPart(*reserved, from, &outcome->second);
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
    if (!m_journal)
        return;
    std::vector<engine::FileMarker> markers = m_partMarkers;
    for (const WaitingMarker &m : m_waitingMarkers)
        markers.push_back({m_partFrames, m.name});
    m_journal->setMarkers(markers);
}

void PartWriter::writeMarkers(const QString &path)
{
    std::vector<engine::FileMarker> markers = std::exchange(m_partMarkers, {});
    if (markers.empty())
        return;
    std::stable_sort(markers.begin(), markers.end(),
                     [](const engine::FileMarker &a, const engine::FileMarker &b) { return a.frame < b.frame; });
    try {
        m_writer->SetMarkers(path, markers);
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

QString PartWriter::openPart(ReservedFile &file, qint64 from, QString *format)
{
    const QString path = file.path();
    // The file made for the part is the one written, whatever its name meanwhile leads to.
    const int watchFd = ::fcntl(file.fd(), F_DUPFD_CLOEXEC, 0);
    try {
        m_writer->CreateReserved(file.take(), path, 0);
    } catch (const std::exception &e) {
        if (watchFd >= 0)
            ::close(watchFd);
        QFile::remove(path);   // made for this part, and never written
        return QString::fromUtf8(e.what());
    }
    // The journal exists before the first block, so a crash from now on is recovered.
    m_journal = PartJournal::open(m_journalFolder, path, watchFd, fileExtension(m_settings));
    m_watch = std::make_unique<PartWatch>(*m_writer, m_journal.get(), path, watchFd, m_rescueFolder);
    m_path = path;
    m_partOpen = true;
    m_refusing = false;
    m_fadeNext = false;
    m_cursor = from;
    m_partFrames = 0;
    m_partMarkers.clear();
    journalMarkers();
    m_measuredRate = 0.0;
    *format = m_writer->GetFormatDescription();
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
            const QString text = QStringLiteral("The disk did not keep up with the recording: %1 of sound could not be "
                                                "written to %2. The recording goes on.")
                                     .arg(durationText(std::max<qint64>(1, lost / std::max(1, m_ring.rate()))),
                                          QFileInfo(m_path).fileName());
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
    // The run ends cleanly while the disk still holds enough to finish the file.
    if (m_runway.mustStop(m_path, bytesPerSecond())) {
        refuse(QStringLiteral("the disk of %1 is full. The file holds everything recorded until now")
                   .arg(QFileInfo(m_path).path()));
        return false;
    }
    try {
        try {
            m_writer->WriteArray(block);
        } catch (const engine::FileLimitError &) {
            // The file holds all it can: the same block begins the next part.
            if (!nextPart())
                return false;
            m_writer->WriteArray(block);
        }
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
            throw std::runtime_error(QStringLiteral("Cannot create %1").arg(folder).toStdString());
        ReservedFile next = reservePartFile(folder, m_settings.partStem, fileExtension(m_settings), false);
        QString format;
        failure = openPart(next, m_cursor, &format);
        if (failure.isEmpty())
            post([this, path = m_path, format] { emit partStarted(path, format); });
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
    if (m_watch)
        tellWatch(m_watch->beforeClose());
    bool closed = true;
    try {
        part.frames = m_writer->GetNumSamples();
        part.rate = m_writer->GetFormatValueA();
        m_writer->Close();
    } catch (const std::exception &e) {
        part.failure = QString::fromUtf8(e.what());
        closed = false;
    }
    bool named = true;
    if (m_watch) {
        named = m_watch->settleAfterClose();
        m_path = m_watch->path();
    }
    part.path = m_path;
    // A part that could not be closed normally, or that only the journal's second name
    // holds, keeps its journal: the next start repairs it, or gives it a name.
    const QString second = m_journal ? m_journal->secondNamePath() : QString();
    const bool heldByJournal = !second.isEmpty() && QFileInfo::exists(second);
    if (!named) {
        part.lost = true;
        part.failure = heldByJournal
                           ? QStringLiteral("%1 has no name left; it is kept and will be recovered at the next start").arg(m_path)
                           : QStringLiteral("%1 has no name left: what was recorded into it is lost").arg(m_path);
    }
    if (m_journal && (!closed || (!named && heldByJournal)))
        m_journal->keep();
    // The markers go into a file that was closed and kept its name; otherwise the journal
    // keeps them for the next start's repair.
    if (closed && named)
        writeMarkers(part.path);
    m_partMarkers.clear();
    m_watch.reset();
    m_journal.reset();
    return part;
}

void PartWriter::watchTick()
{
    if (m_watch)
        tellWatch(m_watch->check());
}

void PartWriter::tellWatch(const PartWatch::Report &report)
{
    if (report.renamed) {
        m_path = m_watch->path();
        const QString path = m_path;
        post([this, path] { emit partRenamed(path); });
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
    // Once the part holds enough, its own rate; before that, the most the format can use.
    const double bound = boundBytesPerSecond(m_settings);
    struct stat st {};
    const qint64 frames = m_writer->GetNumSamples();
    const int rate = m_writer->GetFormatValueA();
    if (!m_watch || m_watch->fd() < 0 || rate <= 0 || frames < qint64(kMeasureAfterSeconds * rate)
        || ::fstat(m_watch->fd(), &st) != 0)
        return bound;
    const double measured = std::max(1.0, double(st.st_size) * rate / double(frames));
    m_measuredRate = measured;
    return measured;
}
