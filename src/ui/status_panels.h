// The main window's status bar: what runs, the current file and its format in three panels,
// and at the right how long the save folder's disk can still take recordings. No panel cuts
// its text: the first is as wide as the longest state in the language in force, the format's
// grows with its text, and the file's gives way when the window is narrow.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class QLabel;
class QStatusBar;

// Every text the first panel shows: the core's own words (RecorderCore::transportStatus), in
// the language in force. The panel is as wide as the longest.
QStringList transportStateTexts();

class StatusPanels {
    Q_DECLARE_TR_FUNCTIONS(StatusPanels)

public:
    // Fills the bar, which owns what is put in it.
    explicit StatusPanels(QStatusBar *bar);

    // Panels 0..2: what runs, the current file, its format.
    QString text(int panel) const;
    void setText(int panel, const QString &text);
    int width(int panel) const;

    // Short in the bar, the whole sentence in the tooltip; a negative time is not known.
    void showDiskTimeLeft(qint64 seconds);

private:
    QLabel *m_panels[3] = {nullptr, nullptr, nullptr};
    QLabel *m_diskTimeLeft = nullptr;
};
