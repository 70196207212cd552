// The Tip of the Day: one hint at a time from tips.txt, stepping through them in order with
// wrap-around, remembering in the settings the tip shown last and whether to offer itself at
// start-up.
#pragma once

#include <QDialog>
#include <QFile>
#include <QSize>
#include <QString>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class ProgramSettings;

// One non-empty line of a tips file, or why there is none.
struct TipLookup {
    bool found = false;   // the line exists
    QString text;         // the line without its line end, UTF-8 decoded
};

// Reads tips from an open text file: every non-empty line is one tip (a line of blanks counts,
// an empty one does not), numbered from 1. Lines may end in "\n" or "\r\n"; a byte order mark
// before the first line is not part of it.
class TipsReader {
public:
    explicit TipsReader(QFile &file) : m_file(file) {}
    // Number of tips, read from the start of the file to its end.
    int count();
    // Tip number n (from 1), read from the start of the file.
    TipLookup tip(int n);

private:
    QFile &m_file;
};

// The text a failed open gets in the error box, from the system's error number: "File not
// found", "Path not found", "Access denied", "Too many open files", ... (strerror otherwise).
QString fileOpenErrorText(int error);

class TipOfTheDayDialog : public QDialog {
    Q_OBJECT

public:
    // Builds the dialog as its creation does: reads the tip shown last and the start-up switch
    // from the settings, counts the tips and shows the one after the stored number. A tips
    // file that cannot be opened is reported in the error box; the dialog then shows no tip.
    // tipsPath: tips.txt.
    TipOfTheDayDialog(ProgramSettings &settings, const QString &tipsPath, QWidget *parent);
    ~TipOfTheDayDialog() override;

    int currentTip() const { return m_currentTip; }   // the tip shown now (from 1); 0 and up as stored
    int tipCount() const { return m_tipCount; }       // non-empty lines of the tips file when built

    // "Next Tip": the following tip, 1 after the last; the file is read again.
    void showNextTip();
    // "Close": stores the tip shown and the start-up switch, then closes. A refused write raises
    // "Unable to write to ..." and leaves the dialog open.
    void storeAndClose();

    // Outer size of the window, title bar and border included.
    static constexpr QSize OuterSize{358, 295};

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Opens the tips file when it is not open; a failure is shown in the error box.
    bool openTips();
    void showTip(const QString &text);

    ProgramSettings &m_settings;
    const QString m_tipsPath;
    int m_currentTip = 0;
    int m_tipCount = 0;
    QFrame *m_bevel = nullptr;             // the lowered two-line bevel around the white panel
    QWidget *m_panel = nullptr;            // the white panel
    QLabel *m_bulb = nullptr;              // the light bulb at the panel's top left
    QLabel *m_heading = nullptr;           // "Did you know..."
    QPlainTextEdit *m_tipText = nullptr;   // the current tip, word-wrapped, no border
    QCheckBox *m_showTips = nullptr;       // "Show Tips on Startup"
    QPushButton *m_nextButton = nullptr;   // "Next Tip"
    QPushButton *m_closeButton = nullptr;  // "Close"
    QFile m_tips;          // open from creation to destruction once it could be opened
    bool m_placed = false;
};
