// The About box: the program's name and version, its home page and the support mailbox.
#pragma once

#include "session/program_identity.h"

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class LinkLabel;

// The home page, opened in the web browser (Help / Homepage and the About box's link).
inline const QString homePageAddress = QStringLiteral("https://tavrin.example.org/");
// The support mailbox, opened in the mail program from the About box.
inline const QString supportAddress = QStringLiteral("mailto:support@tavrin.example.org");

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    // Builds the box; it destroys itself when closed.
    explicit AboutDialog(QWidget *parent);

    static constexpr int TopBandHeight = 65;
    static constexpr int BottomBandHeight = 48;
    static constexpr int ClientWidth = 405;

    void openHomePage();     // as Help / Homepage
    void writeToSupport();   // the support mailbox

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *m_topBand = nullptr;          // 65 pixels high: picture and title line
    QLabel *m_icon = nullptr;              // 34 x 33
    QLabel *m_productName = nullptr;       // "Tavrin Sound Recorder " + versionText
    QLabel *m_versionLabel = nullptr;      // "Version"
    QLabel *m_version = nullptr;           // versionText
    QLabel *m_homePageLabel = nullptr;     // "HomePage"
    LinkLabel *m_homePageLink = nullptr;   // the home page address
    QLabel *m_supportLabel = nullptr;      // "Technology Support"
    LinkLabel *m_supportLink = nullptr;    // "Technology Support"
    QWidget *m_bottomBand = nullptr;       // 48 pixels high: notice and "Close"
    QLabel *m_notice = nullptr;
    QPushButton *m_closeButton = nullptr;  // "Close"
    bool m_placed = false;
};
