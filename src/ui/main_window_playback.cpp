// Playback: the open dialog, blocks read ahead of the player, the slider's preview and
// seek, and the volume knob and mute button.
#include "ui/main_window.h"

#include "ui/ui_services.h"
#include "widgets/level_meter.h"
#include "widgets/spectrum_view.h"
#include "widgets/transport_block.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"

#include <QFileInfo>

#include <cmath>

namespace {

// value per mille of length, rounded to the nearest frame (64-bit product)
qint64 perMilleOf(int value, qint64 length)
{
    return qint64(std::llround(double(value) * double(length) / 1000.0));
}

}  // namespace

const QStringList &openDialogFilters()
{
    static const QStringList filters{
        QStringLiteral("Wav files (*.wav)"),
        QStringLiteral("MPEG files (*.mp3;*.mp2;*.mp1;*.mpeg)"),
        QStringLiteral("Ogg Vorbis files (*.ogg)"),
        QStringLiteral("AVI files (*.avi)"),
        QStringLiteral("G721 files (*.g721)"),
        QStringLiteral("MPPlus files (*.mpc;*.mp+)"),
        QStringLiteral("WMA files (*.wma)"),
    };
    return filters;
}

void MainWindow::OpenClick()
{
    const QString path = ui::getOpenFileName(this, QStringLiteral("Open file"), openDialogFilters());
    if (path.isEmpty())
        return;
    CurrentFileName = path;
    // A running or paused playback goes on with its own file: the new file is measured with
    // a reader of its own and plays on the next "Play" after a stop.
    if (!Playing)
        AudioFile1->SetActive(true);
    LoadOpenedFileInfo();
    AddRecordedFile(path);
}

void MainWindow::StartPlayback()
{
    if (Playing && !PlayPaused)
        return;

    if (PlayPaused) {
        // Resume the paused file where the sound stopped, not where the reader had read ahead.
        AudioFile1->Seek(PositionOffset, 3);
    } else {
        PlayFileName = !SelectedFilePath.isEmpty() ? SelectedFilePath : CurrentFileName;
        if (PlayFileName.isEmpty()) {
            StopPlayback();
            return;
        }
        AudioFile1->SetActive(true);
        AudioFile1->Open(PlayFileName, 0, 1);
        if (AudioFile1->GetErrorCode() != 0) {
            const QString reason = AudioFile1->GetErrorText();
            StopPlayback();
            throw std::runtime_error(
                (reason.isEmpty() ? QStringLiteral("Cannot open %1").arg(PlayFileName) : reason).toStdString());
        }
        PositionOffset = 0;
        const qint64 length = AudioFile1->GetNumSamples();
        if (length < 1) {
            StopPlayback();
            throw std::runtime_error(
                QStringLiteral("Cannot play %1: it holds no sound").arg(PlayFileName).toStdString());
        }
        const int valueA = AudioFile1->GetFormatValueA();
        const int valueB = AudioFile1->GetFormatValueB();
        AudioPlayer1->SetFormat(valueB, valueA);
        BlockSamples = AudioPlayer1->CalcArraySize(200);
        PositionOffset = AudioFile1->Seek(perMilleOf(SliderB1->Value(), length), 3);
    }

    AudioPlayer1->Play();
    if (AudioPlayer1->GetErrorCode() != 0) {
        // A paused playback that cannot go on ends too: its reader is closed.
        const QString reason = AudioPlayer1->GetErrorText();
        StopPlayback();
        throw std::runtime_error(QStringLiteral("Cannot play %1: %2")
                                     .arg(PlayFileName,
                                          reason.isEmpty() ? QStringLiteral("the output did not start") : reason)
                                     .toStdString());
    }
    Playing = true;
    PlayPaused = false;
    FeedPlayer();
    FeedPlayer();
    SetStatusText(1, PlayFileName);
    ShowRunningLook();
}

void MainWindow::FeedPlayer()
{
    // A request that arrives during a pause or after the end queues nothing: the next Play
    // must start with blocks read from the kept position.
    if (!Playing || PlayPaused)
        return;
    AudioPlayer1->LoadArray(AudioFile1->ReadArray(BlockSamples));
}

void MainWindow::AudioPlayer1Timer(QObject *, qint64 currentSamples, int levelLeft, int levelRight)
{
    if (!Playing || PlayPaused)
        return;   // a tick that was already on its way when the playback paused or stopped

    AmpBar1->SetValue(levelLeft);
    AmpBar2->SetValue(levelRight);
    const qint64 position = currentSamples + PositionOffset;
    if (!Recording) {
        // While both run, the recording owns the time display and the spectrum.
        TimeDisplay1->SetMilliseconds(AudioPlayer1->SamplesToMs(position));
        AudioVisualization1->DrawArray(
            AudioPlayer1->GetSnapshotArray(2 * AudioVisualization1->GetWindowArraySize()));
    }
    if (!SliderDragging && !Recording) {
        const qint64 length = AudioFile1->GetNumSamples();
        const int value = length == 0 ? -1 : int(std::min<qint64>(1000, qint64(std::llround(double(position) * 1000.0 / double(length)))));
        SliderB1->SetValue(value);
    }
}

void MainWindow::AudioPlayer1DeviceError(QObject *, const QString &text)
{
    if (!Playing)
        return;
    StopPlayback();
    throw std::runtime_error(QStringLiteral("The playback was stopped: %1").arg(text).toStdString());
}

void MainWindow::PausePlayback()
{
    if (!Playing || PlayPaused)
        return;
    PlayPaused = true;
    PositionOffset += AudioPlayer1->GetCurrentSamples();
    AudioPlayer1->Stop();
    ShowRunningLook();
    AmpBar1->SetValue(0);
    AmpBar2->SetValue(0);
}

void MainWindow::StopPlayback()
{
    AudioPlayer1->Stop();
    AudioFile1->Close();
    Playing = false;
    PlayPaused = false;
    ShowTransportEnded();
    PositionOffset = 0;
    SetApplyEnabled(true);
}

void MainWindow::SliderB1MouseDown(QObject *)
{
    SliderDragging = true;
    if (Playing && PlayPaused) {
        // Grabbing the slider during a pause ends that playback; "Play" starts anew from the
        // slider's point.
        Playing = false;
        PlayPaused = false;
        AudioFile1->Close();
        PlayButtonB1->ShowStopped();
    }
}

void MainWindow::SliderB1ValueChange(QObject *, int value)
{
    if (Playing || Recording)
        return;
    // The preview uses the measured file's own rate: the player may still be set up for
    // another file.
    const qint64 frames = perMilleOf(value, LastFileLength);
    const qint64 t = LastFileRate > 0 ? qint64(std::llround(double(frames) * 1000.0 / LastFileRate))
                                      : AudioPlayer1->SamplesToMs(frames);
    if (t < 1000)
        TimeDisplay1->SetSeconds(0);
    if (t < 60000)
        TimeDisplay1->SetMinutes(0);
    TimeDisplay1->SetMilliseconds(t);
}

void MainWindow::SliderB1MouseUp(QObject *)
{
    if (Playing) {
        AudioPlayer1->Stop();
        PositionOffset = AudioFile1->Seek(perMilleOf(SliderB1->Value(), AudioFile1->GetNumSamples()), 3);
        AudioPlayer1->Play();
        SliderDragging = false;
        FeedPlayer();
        FeedPlayer();
    } else {
        SliderDragging = false;
    }
}

void MainWindow::PlayButtonB1ChangeVolume(QObject *, int volume)
{
    AudioPlayer1->SetVolume(volume);
}

void MainWindow::ToggleMute()
{
    AudioPlayer1->SetLine(0);
    AudioPlayer1->SetLineMute(PlayButtonB1->Mute());
}
