// How much recording still fits on the disk of the save folder: free space against the data
// rate of the format written (the most the format can use before a part has run for a while,
// the rate measured on the part's file after that). A run may start when at least
// kMinimumStartSeconds fit, and must end while the reserve is still free, so that its file
// can be finished.
#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

struct RecordingSettings;

class DiskRunway {
    Q_DECLARE_TR_FUNCTIONS(DiskRunway)

public:
    static constexpr int kMinimumStartSeconds = 10;
    static constexpr int kReserveSeconds = 2;
    static constexpr qint64 kReserveBytes = 256 * 1024;

    // Bytes an ordinary user may still write where path is (or would be); -1 when unknown.
    using FreeSpaceSource = std::function<qint64(const QString &path)>;
    static qint64 freeSpaceOf(const QString &path);   // the file system's own answer

    DiskRunway();
    // Tests give their own; none = the file system's.
    void setFreeSpaceSource(FreeSpaceSource source);
    qint64 freeSpace(const QString &path) const { return m_freeSpace(path); }

    // Why a run of these settings may not start in their save folder; empty when it may.
    // files: how many files a part writes at once (each at the settings' rate).
    QString refusal(const RecordingSettings &settings, int files = 1) const;
    // Writing at bytesPerSecond where path is must end now.
    bool mustStop(const QString &path, double bytesPerSecond) const;
    // Seconds of recording that still fit at bytesPerSecond; -1 = unknown.
    qint64 secondsLeft(const QString &path, double bytesPerSecond) const;

private:
    FreeSpaceSource m_freeSpace;
};
