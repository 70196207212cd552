// The About box: the program's name and version, its home page and the support mailbox.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class LinkLabel;
class MainWindow;

// The program's version, shown in the About box's title line and its version row.
inline const QString versionText = QStringLiteral("v3.1.0");
// The home page, opened in the web browser (Help / Homepage and the About box's link).
inline const QString homePageAddress = QStringLiteral("https://tavrin.example.org/");
// The support mailbox, opened in the mail program from the About box.
inline const QString supportAddress = QStringLiteral("mailto:support@tavrin.example.org");

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // Builds the box, owned by the main window; it destroys itself when closed.
    explicit AboutDialog(MainWindow &form);

    QWidget *TopBand = nullptr;          // 65 pixels high: picture and title line
    QLabel *ProgramIcon = nullptr;       // 34 x 33
    QLabel *ProductName = nullptr;       // "Tavrin Sound Recorder " + versionText
    QLabel *VersionLabel = nullptr;      // "Version"
    QLabel *Version = nullptr;           // versionText
    QLabel *HomePageLabel = nullptr;     // "HomePage"
    LinkLabel *HomePageLink = nullptr;   // the home page address
    QLabel *SupportLabel = nullptr;      // "Technology Support"
    LinkLabel *SupportLink = nullptr;    // "Technology Support"
    QWidget *BottomBand = nullptr;       // 48 pixels high: notice and "Close"
    QLabel *Notice = nullptr;
    QPushButton *btnClose = nullptr;     // "Close"

    static constexpr int TopBandHeight = 65;
    static constexpr int BottomBandHeight = 48;
    static constexpr int ClientWidth = 405;

    void HomePageLinkClick();   // as Help / Homepage
    void SupportLinkClick();    // the support mailbox

protected:
    void showEvent(QShowEvent *event) override;

private:
    MainWindow &m_form;
    bool m_placed = false;
};
