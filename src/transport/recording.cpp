// Recording: the first free "Untitled" file, blocks written as they arrive, the time limit
// and the automatic split, and the finished file listed.
#include "app/main_window.h"

#include "app/ui_services.h"
#include "engine/controls/amp_bar2.h"
#include "engine/controls/audio_visualization2.h"
#include "engine/controls/play_button_b2.h"
#include "engine/controls/slider_b2.h"
#include "engine/controls/time_display2.h"
#include "files/format_text.h"
#include "app/path_text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

engine::IAudioFile2 &TForm1::MeasuringFile()
{
    // AudioFile1 feeds a running playback; measuring another file on it would cut the sound.
    if (!Playing)
        return *AudioFile1;
    if (!AudioFileMeasure)
        AudioFileMeasure = Engine.createFile(QStringLiteral("AudioFileMeasure"));
    AudioFileMeasure->SetActive(true);
    return *AudioFileMeasure;
}

void TForm1::DeliverPendingBlocks()
{
    // The recorder hands over blocks through queued calls; the ones captured before Stop
    // are written now, before the file is closed or a pause is taken.
    QCoreApplication::sendPostedEvents(AudioRecord1.get(), QEvent::MetaCall);
}

void TForm1::StartRecording()
{
    if (Recording && !RecordPaused)
        return;

    SetRecordingLook(true);
    SliderB1->setEnabled(false);
    Recording = false;

    AudioRecord1->SetRecordFlag(true);
    SetStatusText(0, QStringLiteral("Recording..."));
    PlayButtonB1->ShowRecording();

    if (RecordPaused) {
        RecordPaused = false;
        Recording = true;
        // The display continues from what this part already holds.
        RecordOffset = AudioFile2->GetNumSamples();
        AudioRecord1->Start();
        if (AudioRecord1->GetErrorCode() != 0)
            StopRecording();
        return;
    }

    try {
        MakeNewRecordingFile();
    } catch (...) {
        ShowIdleRecordingLook();
        throw;
    }
    SetStatusText(0, QStringLiteral("Recording..."));

    engine::IAudioFile2 &measure = MeasuringFile();
    measure.Open(CurrentFileName, 0, 1);
    if (measure.GetNumSamples() < 8820)
        Recording = true;
    measure.Close();

    if (!Recording) {
        if (ui::Confirm(this, QStringLiteral("Rewrite File?"))) {
            Recording = true;
        } else {
            StopRecording();
            return;
        }
    }

    try {
        AudioFile2->Create(CurrentFileName, 0);
    } catch (...) {
        Recording = false;
        ShowIdleRecordingLook();
        throw;
    }
    const int valueA = AudioFile2->GetFormatValueA();
    const int valueB = AudioFile2->GetFormatValueB();
    AudioRecord1->SetFormat(valueB, valueA);
    BlockSamples = AudioRecord1->CalcArraySize(200);
    AudioRecord1->SetArraySize(BlockSamples);
    RecordOffset = 0;
    AudioRecord1->Start();
    if (AudioRecord1->GetErrorCode() != 0) {
        StopRecording();
        return;
    }
    // The slider has nothing to show while recording.
    SliderB1->setEnabled(false);
    SliderB1->SetValue(0);
}

void TForm1::ShowIdleRecordingLook()
{
    SetRecordingLook(false);
    SliderB1->setEnabled(true);
    ShowRunningLook();
}

void TForm1::ShowRunningLook()
{
    if (Playing) {
        SetStatusText(0, PlayPaused ? QStringLiteral("Pause") : QStringLiteral("Playing..."));
        PlayPaused ? PlayButtonB1->ShowPaused() : PlayButtonB1->ShowPlaying();
    } else if (Recording) {
        SetStatusText(0, RecordPaused ? QStringLiteral("Pause") : QStringLiteral("Recording..."));
        RecordPaused ? PlayButtonB1->ShowPaused() : PlayButtonB1->ShowRecording();
    } else {
        SetStatusText(0, QStringLiteral("Stop"));
        PlayButtonB1->ShowStopped();
    }
}

void TForm1::ShowTransportEnded()
{
    AmpBar1->SetValue(0);
    AmpBar2->SetValue(0);
    SliderB1->SetValue(0);
    ShowRunningLook();
    if (!Playing && !Recording) {
        TimeDisplay1->SetMilliseconds(0);
        TimeDisplay1->SetSeconds(0);
        TimeDisplay1->SetMinutes(0);
        TimeDisplay1->SetHours(0);
        AudioVisualization1->DrawArray(engine::SampleArray());
    }
}

void TForm1::MakeNewRecordingFile()
{
    const QString path = CurrentSettings.SavePath;
    int n = 1;
    CurrentRecordingName = path + QStringLiteral("Untitled%1").arg(n) + CurrentSettings.SaveFormat;
    while (QFileInfo::exists(CurrentRecordingName)) {
        ++n;
        CurrentRecordingName = path + QStringLiteral("Untitled%1").arg(n) + CurrentSettings.SaveFormat;
    }

    if (path.isEmpty() || !QDir().mkpath(path))
        throw std::runtime_error(QStringLiteral("Cannot create %1").arg(path).toStdString());

    CurrentFileName = CurrentRecordingName;

    engine::IAudioFile2 &file = MeasuringFile();
    file.SetActive(true);
    file.Create(CurrentFileName, 0);
    file.Close();

    LoadOpenedFileInfo();
}

void TForm1::LoadOpenedFileInfo()
{
    // A dialog that has just closed repaints first; nothing else is handled here, so no
    // block or tick can slip in between the steps of a command.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);

    PlayButtonB1->setEnabled(true);
    SliderB1->setEnabled(true);
    SliderB1->SetStripColor(palette().color(QPalette::Base));

    ResetFileInfo();

    engine::IAudioFile2 &file = MeasuringFile();
    file.Open(CurrentFileName, 0, 1);
    SetStatusText(1, ShortenPath(CurrentFileName, fontMetrics(), StatusPanelWidth(1) - 8));
    SetStatusText(2, ShortFormatText(file.GetFormatDescription()));
    LastFileLength = file.GetNumSamples();
    LastFileRate = file.GetErrorCode() == 0 ? file.GetFormatValueA() : 0;
    file.Close();

    SetStatusText(0, QStringLiteral("Stop"));
    SetResetEnabled(true);
    SetApplyEnabled(true);
}

void TForm1::AudioRecord1EndArrayRecord(QObject *, int)
{
    if (!Recording)
        return;
    const engine::SampleArray block = AudioRecord1->GetArray();
    try {
        AudioFile2->WriteArray(block);
    } catch (const std::exception &e) {
        // Keep everything written so far: finish the file as Stop does, then say why.
        const QString reason = QString::fromUtf8(e.what());
        StopRecording();
        throw std::runtime_error(
            QStringLiteral("The recording was stopped: %1").arg(reason).toStdString());
    }
}

void TForm1::AudioRecord1DeviceError(QObject *, const QString &text)
{
    if (!Recording)
        return;
    StopRecording();
    throw std::runtime_error(QStringLiteral("The recording was stopped: %1").arg(text).toStdString());
}

void TForm1::AudioRecord1Timer(QObject *, qint64 currentSamples, int levelLeft, int levelRight)
{
    if (!Recording || RecordPaused)
        return;   // a tick that was already on its way when the recording stopped

    AmpBar1->SetValue(levelLeft);
    AmpBar2->SetValue(levelRight);

    TimeDisplay1->SetMilliseconds(AudioRecord1->SamplesToMs(currentSamples + RecordOffset)
                                  + qint64(SplitBaseSeconds) * 1000);

    AudioVisualization1->DrawArray(
        AudioRecord1->GetSnapshotArray(2 * AudioVisualization1->GetWindowArraySize()));

    const int displayed = TimeDisplay1->Hours() * 3600 + TimeDisplay1->Minutes() * 60
                          + TimeDisplay1->Seconds();

    if (CurrentSettings.TimeLimitSeconds > 0 && displayed >= CurrentSettings.TimeLimitSeconds) {
        StopRecording();
        return;
    }

    if (CurrentSettings.SplitEnabled && CurrentSettings.SplitSeconds > 0
        && displayed - SplitBaseSeconds >= CurrentSettings.SplitSeconds) {
        AudioRecord1->Stop();
        DeliverPendingBlocks();
        LastFileLength = AudioFile2->GetNumSamples();
        LastFileRate = AudioFile2->GetFormatValueA();
        AudioFile2->Close();
        Recording = false;
        RecordPaused = false;
        PlayButtonB1->ShowStopped();
        AddRecordedFile(CurrentRecordingName);
        SplitBaseSeconds += CurrentSettings.SplitSeconds;
        StartRecording();
    }
}

void TForm1::PauseRecording()
{
    if (!Recording || RecordPaused)
        return;
    RecordPaused = true;
    AudioRecord1->Stop();
    DeliverPendingBlocks();
    SetStatusText(0, QStringLiteral("Pause"));
    PlayButtonB1->ShowPaused();
    AudioRecord1->SetRecordFlag(false);
}

void TForm1::StopRecording()
{
    // Every step runs even when finishing the file fails, so the window never stays in a
    // recording look with nothing recording; the first error is reported at the end.
    std::exception_ptr firstError;
    const auto step = [&firstError](auto &&fn) {
        try {
            fn();
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    };

    SliderB1->setEnabled(true);
    step([this] { AudioRecord1->Stop(); });
    step([this] { DeliverPendingBlocks(); });
    step([this] {
        LastFileLength = AudioFile2->GetNumSamples();
        LastFileRate = AudioFile2->GetFormatValueA();
    });
    step([this] { AudioFile2->Close(); });
    Recording = false;
    RecordPaused = false;

    ShowTransportEnded();
    RecordOffset = 0;

    step([this] { ResetFileInfo(); });
    step([this] { AddRecordedFile(CurrentRecordingName); });

    SetApplyEnabled(true);
    SetRecordingLook(false);
    ShowTab(3);
    SplitBaseSeconds = 0;

    if (firstError)
        std::rethrow_exception(firstError);
}
