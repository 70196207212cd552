// Recording: the first free "Untitled" file, blocks written as they arrive, the time limit
// and the automatic split, and the finished file listed.
#include "ui/main_window.h"

#include "ui/ui_services.h"
#include "widgets/level_meter.h"
#include "widgets/spectrum_view.h"
#include "widgets/transport_block.h"
#include "widgets/position_slider.h"
#include "widgets/time_display.h"
#include "session/format_text.h"
#include "ui/path_text.h"
#include "session/recording_settings.h"
#include "session/file_operations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

engine::IAudioFile2 &MainWindow::MeasuringFile()
{
    // AudioFile1 feeds a running playback; measuring another file on it would cut the sound.
    if (!Playing)
        return *AudioFile1;
    if (!AudioFileMeasure) {
        AudioFileMeasure = Engine.createFile(QStringLiteral("AudioFileMeasure"));
        // It makes and measures new recordings too, so it writes what the writer writes.
        ::ApplyOutputFormat(CurrentSettings, *AudioFileMeasure, *AudioFileMeasure, *Mp3LameEncoder);
    }
    AudioFileMeasure->SetActive(true);
    return *AudioFileMeasure;
}

void MainWindow::DeliverPendingBlocks()
{
    // The recorder hands over blocks through queued calls; the ones captured before Stop
    // are written now, before the file is closed or a pause is taken.
    QCoreApplication::sendPostedEvents(AudioRecord1.get(), QEvent::MetaCall);
}

void MainWindow::StartRecording()
{
    if (Recording && !RecordPaused)
        return;
    if (RecordPaused) {
        ResumeRecording();
        return;
    }
    // A new run: nothing of an earlier one carries over.
    SplitBaseSeconds = 0;
    RecordOffset = 0;
    StartRecordingPart();
}

void MainWindow::ResumeRecording()
{
    SetRecordingLook(true);
    SliderB1->setEnabled(false);
    AudioRecord1->SetRecordFlag(true);
    RecordPaused = false;
    SetStatusText(0, QStringLiteral("Recording..."));
    PlayButtonB1->ShowRecording();
    // The display continues from what this part already holds.
    RecordOffset = AudioFile2->GetNumSamples();
    AudioRecord1->Start();
    if (AudioRecord1->GetErrorCode() != 0) {
        // What was recorded before the pause is kept: the part is finalised and listed.
        const QString reason = AudioRecord1->GetErrorText();
        EndRecording(reason.isEmpty() ? QStringLiteral("Capture did not start again") : reason);
    }
}

void MainWindow::StartRecordingPart()
{
    SetRecordingLook(true);
    SliderB1->setEnabled(false);
    Recording = false;

    AudioRecord1->SetRecordFlag(true);
    SetStatusText(0, QStringLiteral("Recording..."));
    PlayButtonB1->ShowRecording();

    m_shownBeforeStart = {CurrentFileName, StatusText(1), StatusText(2)};
    m_reservedFile.clear();
    try {
        MakeNewRecordingFile();
        SetStatusText(0, QStringLiteral("Recording..."));
        PlayButtonB1->ShowRecording();

        engine::IAudioFile2 &measure = MeasuringFile();
        measure.Open(CurrentFileName, 0, 1);
        if (measure.GetNumSamples() < 8820)
            Recording = true;
        measure.Close();
    } catch (...) {
        AbandonRecordingPart();
        throw;
    }

    if (!Recording) {
        if (ui::confirm(this, QStringLiteral("Rewrite File?"))) {
            Recording = true;
        } else {
            m_reservedFile.clear();
            StopRecording();
            return;
        }
    }

    QString failure;
    try {
        AudioFile2->Create(CurrentFileName, 0);
        const int valueA = AudioFile2->GetFormatValueA();
        const int valueB = AudioFile2->GetFormatValueB();
        AudioRecord1->SetFormat(valueB, valueA);
        BlockSamples = AudioRecord1->CalcArraySize(200);
        AudioRecord1->SetArraySize(BlockSamples);
        RecordOffset = 0;
        AudioRecord1->Start();
        if (AudioRecord1->GetErrorCode() != 0) {
            failure = AudioRecord1->GetErrorText();
            if (failure.isEmpty())
                failure = QStringLiteral("The recording could not start");
        }
    } catch (...) {
        AbandonRecordingPart();
        throw;
    }
    if (!failure.isEmpty()) {
        AbandonRecordingPart();
        throw std::runtime_error(failure.toStdString());
    }
    m_reservedFile.clear();
    // The slider has nothing to show while recording.
    SliderB1->setEnabled(false);
    SliderB1->SetValue(0);
}

void MainWindow::AbandonRecordingPart()
{
    // The part never recorded anything: the file this attempt made goes, and the window
    // shows what it showed before.
    Recording = false;
    RecordPaused = false;
    try {
        AudioRecord1->Stop();
    } catch (...) {
    }
    qint64 written = 0;
    try {
        written = AudioFile2->GetNumSamples();
        AudioFile2->Close();
    } catch (...) {
    }
    if (!m_reservedFile.isEmpty() && written == 0)
        QFile::remove(m_reservedFile);
    m_reservedFile.clear();
    CurrentFileName = m_shownBeforeStart.current;
    SetStatusText(1, m_shownBeforeStart.panel1);
    SetStatusText(2, m_shownBeforeStart.panel2);
    try {
        if (!CurrentFileName.isEmpty())
            ResetFileInfo();
    } catch (...) {
    }
    SplitBaseSeconds = 0;
    RecordOffset = 0;
    ShowIdleRecordingLook();
    ShowTransportEnded();
}

void MainWindow::ShowIdleRecordingLook()
{
    SetRecordingLook(false);
    SliderB1->setEnabled(true);
    ShowRunningLook();
}

void MainWindow::ShowRunningLook()
{
    // Panel 0 and the transport block say what runs; a running recording comes first.
    if (Recording && !RecordPaused) {
        SetStatusText(0, QStringLiteral("Recording..."));
        PlayButtonB1->ShowRecording();
    } else if (Playing && !PlayPaused) {
        SetStatusText(0, QStringLiteral("Playing..."));
        PlayButtonB1->ShowPlaying();
    } else if (Recording || Playing) {
        SetStatusText(0, QStringLiteral("Pause"));
        PlayButtonB1->ShowPaused();
    } else {
        SetStatusText(0, QStringLiteral("Stop"));
        PlayButtonB1->ShowStopped();
    }
}

void MainWindow::ShowTransportEnded()
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

void MainWindow::MakeNewRecordingFile()
{
    const QString folder = CurrentSettings.savePath;
    if (folder.trimmed().isEmpty())
        throw std::runtime_error("No folder is set for recordings. Choose one in Options");
    if (!pathSurvivesFileSystem(folder))
        throw std::runtime_error(
            QStringLiteral("Cannot record into %1: the folder's name is not valid UTF-8. Choose the folder again in Options")
                .arg(folder)
                .toStdString());
    if (!QDir().mkpath(folder))
        throw std::runtime_error(QStringLiteral("Cannot create %1").arg(folder).toStdString());

    // The name is taken once, exclusively: no existing entry is ever reused or followed.
    CurrentRecordingName = reserveNumberedFile(folder, QStringLiteral("Untitled"), CurrentSettings.saveFormat);
    m_reservedFile = CurrentRecordingName;
    CurrentFileName = CurrentRecordingName;

    engine::IAudioFile2 &file = MeasuringFile();
    file.SetActive(true);
    file.Create(CurrentFileName, 0);
    file.Close();

    LoadOpenedFileInfo();
}

void MainWindow::LoadOpenedFileInfo()
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
    SetStatusText(1, shortenPath(CurrentFileName, fontMetrics(), StatusPanelWidth(1) - 8));
    SetStatusText(2, shortFormatText(file.GetFormatDescription()));
    LastFileLength = file.GetNumSamples();
    LastFileRate = file.GetErrorCode() == 0 ? file.GetFormatValueA() : 0;
    file.Close();

    ShowRunningLook();
    SetResetEnabled(true);
    SetApplyEnabled(true);
}

void MainWindow::AudioRecord1EndArrayRecord(QObject *, int)
{
    if (!Recording)
        return;
    const engine::SampleArray block = AudioRecord1->GetArray();
    try {
        AudioFile2->WriteArray(block);
    } catch (const std::exception &e) {
        // Keep everything written so far: finish the file as Stop does, then say why.
        FailRecording(QString::fromUtf8(e.what()));
    }
}

void MainWindow::AudioRecord1DeviceError(QObject *, const QString &text)
{
    if (!Recording)
        return;
    FailRecording(text);
}

void MainWindow::FailRecording(const QString &reason)
{
    // Raised while the last blocks are written (Stop, Pause, a split): whoever stops
    // capture ends the run once and reports this.
    if (m_partEnding) {
        if (m_recordingFailure.isEmpty())
            m_recordingFailure = reason;
        return;
    }
    EndRecording(reason);
}

void MainWindow::AudioRecord1Timer(QObject *, qint64 currentSamples, int levelLeft, int levelRight)
{
    if (!Recording || RecordPaused || m_partEnding)
        return;   // a tick that was already on its way when the recording stopped

    AmpBar1->SetValue(levelLeft);
    AmpBar2->SetValue(levelRight);

    TimeDisplay1->SetMilliseconds(AudioRecord1->SamplesToMs(currentSamples + RecordOffset)
                                  + qint64(SplitBaseSeconds) * 1000);

    AudioVisualization1->DrawArray(
        AudioRecord1->GetSnapshotArray(2 * AudioVisualization1->GetWindowArraySize()));

    const int displayed = TimeDisplay1->Hours() * 3600 + TimeDisplay1->Minutes() * 60
                          + TimeDisplay1->Seconds();

    if (CurrentSettings.timeLimitSeconds > 0 && displayed >= CurrentSettings.timeLimitSeconds) {
        StopRecording();
        return;
    }

    if (CurrentSettings.splitEnabled && CurrentSettings.splitSeconds > 0
        && displayed - SplitBaseSeconds >= CurrentSettings.splitSeconds)
        SplitRecording();
}

void MainWindow::SplitRecording()
{
    m_partEnding = true;
    m_recordingFailure.clear();
    try {
        AudioRecord1->Stop();
        DeliverPendingBlocks();
        LastFileLength = AudioFile2->GetNumSamples();
        LastFileRate = AudioFile2->GetFormatValueA();
        AudioFile2->Close();
    } catch (const std::exception &e) {
        if (m_recordingFailure.isEmpty())
            m_recordingFailure = QString::fromUtf8(e.what());
    }
    m_partEnding = false;
    if (!m_recordingFailure.isEmpty()) {
        // The last blocks could not be written: the run ends with this part.
        EndRecordingRun(false);
        return;
    }
    Recording = false;
    RecordPaused = false;
    PlayButtonB1->ShowStopped();
    QString listingError;
    try {
        AddRecordedFile(CurrentRecordingName);
    } catch (const std::exception &e) {
        // The part is on the disk; the run goes on and the error is shown.
        listingError = QString::fromUtf8(e.what());
    }

    SplitBaseSeconds += CurrentSettings.splitSeconds;
    try {
        StartRecordingPart();
    } catch (const std::exception &e) {
        // The next part did not start: the run ends with the parts already listed.
        ShowTab(3);
        throw std::runtime_error(
            QStringLiteral("The recording was stopped: %1").arg(QString::fromUtf8(e.what())).toStdString());
    }
    if (!listingError.isEmpty())
        throw std::runtime_error(listingError.toStdString());
}

void MainWindow::PauseRecording()
{
    if (!Recording || RecordPaused)
        return;
    RecordPaused = true;
    m_partEnding = true;
    m_recordingFailure.clear();
    try {
        AudioRecord1->Stop();
        DeliverPendingBlocks();
    } catch (const std::exception &e) {
        if (m_recordingFailure.isEmpty())
            m_recordingFailure = QString::fromUtf8(e.what());
    }
    m_partEnding = false;
    if (!m_recordingFailure.isEmpty()) {
        // The last blocks could not be written: the pause becomes the end of the run.
        EndRecording(std::exchange(m_recordingFailure, QString()));
        return;
    }
    SetStatusText(0, QStringLiteral("Pause"));
    PlayButtonB1->ShowPaused();
    AudioRecord1->SetRecordFlag(false);
}

void MainWindow::StopRecording()
{
    EndRecording(QString());
}

void MainWindow::EndRecording(const QString &reason)
{
    m_recordingFailure = reason;
    EndRecordingRun(true);
}

void MainWindow::EndRecordingRun(bool partOpen)
{
    // Every step runs even when finishing the file fails, so the window never stays in a
    // recording look with nothing recording. Failures met while the last blocks are written
    // are collected, not acted on: one stop, one listing, one message.
    std::exception_ptr firstError;
    const auto step = [&firstError](auto &&fn) {
        try {
            fn();
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
    };

    m_partEnding = true;
    SliderB1->setEnabled(true);
    if (partOpen) {
        step([this] { AudioRecord1->Stop(); });
        step([this] { DeliverPendingBlocks(); });
        step([this] {
            LastFileLength = AudioFile2->GetNumSamples();
            LastFileRate = AudioFile2->GetFormatValueA();
        });
        step([this] { AudioFile2->Close(); });
    }
    Recording = false;
    RecordPaused = false;
    m_partEnding = false;

    // Nothing of this run carries over into the next one.
    ShowTransportEnded();
    RecordOffset = 0;
    SplitBaseSeconds = 0;

    step([this] { ResetFileInfo(); });
    step([this] { AddRecordedFile(CurrentRecordingName); });

    SetApplyEnabled(true);
    SetRecordingLook(false);
    ShowTab(3);

    const QString failure = std::exchange(m_recordingFailure, QString());
    if (!failure.isEmpty())
        throw std::runtime_error(QStringLiteral("The recording was stopped: %1").arg(failure).toStdString());
    if (firstError)
        std::rethrow_exception(firstError);
}
