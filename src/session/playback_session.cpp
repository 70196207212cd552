#include "session/playback_session.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr int kBlockMs = 200;
constexpr int kPlayOption = 80;

// value per mille of length, rounded to the nearest frame (64-bit product)
qint64 perMilleOf(int value, qint64 length)
{
    return qint64(std::llround(double(value) * double(length) / 1000.0));
}

// A file's markers; none when they cannot be read (the sound plays anyway).
std::vector<engine::FileMarker> markersOf(engine::IAudioFile2 &file, const QString &path)
{
    try {
        return file.GetMarkers(path);
    } catch (const std::exception &) {
        return {};
    }
}

std::runtime_error error(const QString &text)
{
    return std::runtime_error(text.toStdString());
}

}  // namespace

PlaybackSession::PlaybackSession(engine::IEngineFactory &engine, QObject *parent)
    : QObject(parent),
      m_player(engine.createPlayer(QStringLiteral("player"))),
      m_reader(engine.createFile(QStringLiteral("reader"))),
      m_measurer(engine.createFile(QStringLiteral("measurer")))
{
    // A block the player finished and a request for more are both answered with a block.
    connect(m_player.get(), &engine::IAudioPlayer2::OnEndArrayPlay, this, [this] { feed(); });
    connect(m_player.get(), &engine::IAudioPlayer2::OnRequestOnLoadArray, this, [this] { feed(); });
    connect(m_player.get(), &engine::IAudioPlayer2::OnEndPlay, this, [this] { stop(); });
    connect(m_player.get(), &engine::IAudioPlayer2::OnTimer, this,
            [this](QObject *, qint64 samples, int left, int right) { onTick(samples, left, right); });
    connect(m_player.get(), &engine::IAudioPlayer2::OnDeviceError, this,
            [this](QObject *, const QString &text) { onDeviceError(text); });
}

PlaybackSession::~PlaybackSession()
{
    disconnect(m_player.get(), nullptr, this, nullptr);
}

void PlaybackSession::prepare()
{
    m_player->SetPlayFlag(true);
    m_player->SetPlayOption(kPlayOption);
}

void PlaybackSession::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

PlaybackSession::FileFacts PlaybackSession::measure(const QString &path)
{
    // The reader feeds a running playback; measuring another file on it would cut the sound.
    engine::IAudioFile2 &file = isActive() ? *m_measurer : *m_reader;
    file.SetActive(true);
    file.Open(path, 0, 1);
    FileFacts facts;
    facts.description = file.GetFormatDescription();
    facts.frames = file.GetNumSamples();
    facts.sampleRate = file.GetErrorCode() == 0 ? file.GetFormatValueA() : 0;
    file.Close();
    facts.markers = markersOf(file, path);
    setShownFile(facts.frames, facts.sampleRate, facts.markers);
    return facts;
}

void PlaybackSession::setShownFile(qint64 frames, int sampleRate, std::vector<engine::FileMarker> markers)
{
    m_shownFrames = frames;
    m_shownRate = sampleRate;
    m_shownMarkers = std::move(markers);
}

QList<int> PlaybackSession::shownMarkerPlaces() const
{
    QList<int> places;
    if (m_shownFrames <= 0)
        return places;
    for (const engine::FileMarker &m : m_shownMarkers)
        places << int(std::clamp<qint64>(std::llround(double(m.frame) * 1000.0 / double(m_shownFrames)), 0, 1000));
    return places;
}

int PlaybackSession::jumpToMarker(int direction)
{
    if (!isActive() || m_shownFrames <= 0 || m_shownMarkers.empty())
        return -1;
    const qint64 now = m_state == State::Paused ? m_positionOffset : m_position;
    const qint64 second = std::max(1, m_shownRate);
    const engine::FileMarker *target = nullptr;
    if (direction > 0) {
        for (const engine::FileMarker &m : m_shownMarkers)
            if (m.frame > now + second / 10 && (!target || m.frame < target->frame))
                target = &m;
    } else {
        for (const engine::FileMarker &m : m_shownMarkers)
            if (m.frame < now - second && (!target || m.frame > target->frame))
                target = &m;
    }
    if (!target)
        return -1;
    const qint64 frame = std::min(target->frame, m_shownFrames - 1);
    if (m_state == State::Playing) {
        m_player->Stop();
        m_positionOffset = m_reader->Seek(frame, 3);
        m_player->Play();
        feed();
        feed();
    } else {
        m_positionOffset = frame;   // Play goes on from there
    }
    m_position = m_positionOffset;
    return int(std::clamp<qint64>(std::llround(double(frame) * 1000.0 / double(m_shownFrames)), 0, 1000));
}

qint64 PlaybackSession::previewMs(int perMille) const
{
    // The shown file's own rate: the player may still be set up for another file.
    const qint64 frames = perMilleOf(perMille, m_shownFrames);
    return m_shownRate > 0 ? qint64(std::llround(double(frames) * 1000.0 / m_shownRate))
                           : m_player->SamplesToMs(frames);
}

void PlaybackSession::play(const QString &path, int perMille)
{
    if (m_state == State::Playing)
        return;
    try {
        start(path, perMille);
    } catch (const std::exception &e) {
        // Whatever had started ends: the reader is closed, the window shows the stopped look.
        stop();
        emit failed(QString::fromUtf8(e.what()));
    }
}

void PlaybackSession::start(const QString &path, int perMille)
{
    if (m_state == State::Paused) {
        // Go on where the sound stopped, not where the reader had read ahead.
        m_reader->Seek(m_positionOffset, 3);
    } else {
        m_file = path;
        if (m_file.isEmpty()) {
            stop();
            return;
        }
        m_reader->SetActive(true);
        m_reader->Open(m_file, 0, 1);
        if (m_reader->GetErrorCode() != 0) {
            const QString reason = m_reader->GetErrorText();
            throw error(reason.isEmpty() ? tr("Cannot open %1").arg(m_file) : reason);
        }
        m_positionOffset = 0;
        const qint64 length = m_reader->GetNumSamples();
        if (length < 1)
            throw error(tr("Cannot play %1: it holds no sound").arg(m_file));
        // From now on the position slider stands for this file.
        setShownFile(length, m_reader->GetFormatValueA(), markersOf(*m_reader, m_file));
        m_player->SetFormat(m_reader->GetFormatValueB(), m_reader->GetFormatValueA());
        m_blockFrames = m_player->CalcArraySize(kBlockMs);
        m_positionOffset = m_reader->Seek(perMilleOf(perMille, length), 3);
    }

    m_player->Play();
    if (m_player->GetErrorCode() != 0) {
        QString reason = m_player->GetErrorText();
        if (reason.isEmpty())
            //: Why a file cannot be played, said after "Cannot play <file>: ".
            reason = tr("the output did not start");
        //: %1 is a file's path, %2 why the output device did not start.
        throw error(tr("Cannot play %1: %2").arg(m_file, reason));
    }
    setState(State::Playing);
    feed();
    feed();
}

void PlaybackSession::feed()
{
    // A request that arrives during a pause or after the end queues nothing: the next Play
    // must start with blocks read from the kept position.
    if (m_state != State::Playing)
        return;
    try {
        m_player->LoadArray(m_reader->ReadArray(m_blockFrames));
    } catch (const std::exception &e) {
        stop();
        //: %1 says why.
        emit failed(tr("The playback was stopped: %1").arg(QString::fromUtf8(e.what())));
    }
}

void PlaybackSession::pause()
{
    if (m_state != State::Playing)
        return;
    m_positionOffset += m_player->GetCurrentSamples();
    m_player->Stop();
    setState(State::Paused);
}

void PlaybackSession::stop()
{
    m_player->Stop();
    m_reader->Close();
    m_positionOffset = 0;
    setState(State::Stopped);
}

void PlaybackSession::holdPosition()
{
    m_positionHeld = true;
    if (m_state == State::Paused) {
        // Grabbing the slider during a pause ends that playback; Play starts anew from the
        // slider's point.
        m_reader->Close();
        m_positionOffset = 0;
        setState(State::Stopped);
    }
}

void PlaybackSession::releasePosition(int perMille)
{
    if (m_state == State::Playing) {
        m_player->Stop();
        m_positionOffset = m_reader->Seek(perMilleOf(perMille, m_reader->GetNumSamples()), 3);
        m_player->Play();
        m_positionHeld = false;
        feed();
        feed();
    } else {
        m_positionHeld = false;
    }
}

int PlaybackSession::volume()
{
    return m_player->GetVolume();
}

void PlaybackSession::setVolume(int volume)
{
    m_player->SetVolume(volume);
}

bool PlaybackSession::muted()
{
    m_player->SetLine(0);
    return m_player->GetLineMute();
}

void PlaybackSession::setMuted(bool muted)
{
    m_player->SetLine(0);
    m_player->SetLineMute(muted);
}

void PlaybackSession::followRename(const QString &from, const QString &to)
{
    // A playback reads on from the renamed file; keep its name true.
    if (m_file == from)
        m_file = to;
}

void PlaybackSession::onTick(qint64 currentSamples, int levelLeft, int levelRight)
{
    if (m_state != State::Playing)
        return;   // a tick that was already on its way when the playback paused or stopped
    const qint64 position = currentSamples + m_positionOffset;
    m_position = position;
    const qint64 length = m_reader->GetNumSamples();
    const int perMille = length == 0 ? -1
                                     : int(std::min<qint64>(1000, qint64(std::llround(double(position) * 1000.0
                                                                                      / double(length)))));
    emit tick(m_player->SamplesToMs(position), perMille, levelLeft, levelRight);
    if (m_snapshotFrames > 0)
        emit snapshotReady(m_player->GetSnapshotArray(m_snapshotFrames));
}

void PlaybackSession::onDeviceError(const QString &text)
{
    if (m_state == State::Stopped)
        return;
    stop();
    emit failed(tr("The playback was stopped: %1").arg(text));
}
