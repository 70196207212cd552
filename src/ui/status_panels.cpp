#include "ui/status_panels.h"

#include "session/format_text.h"
#include "session/recorder_core.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

#include <algorithm>

namespace {

constexpr int kPanelWidths[3] = {60, 320, 300};
constexpr int kPanelPadding = 6;   // frame and margin on each side of a panel's text

// A panel of a designed width that gives way when the window is narrower than the three
// panels together, so no panel ever lies over another.
class StatusPanel : public QLabel {
public:
    StatusPanel(int width, QWidget *parent) : QLabel(parent), m_width(width)
    {
        setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    }
    QSize sizeHint() const override { return {m_width, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {std::min(m_width, 40), QLabel::minimumSizeHint().height()}; }

private:
    int m_width;
};

}  // namespace

QStringList transportStateTexts()
{
    return {RecorderCore::tr("Stop", "state"),
            RecorderCore::tr("Playing..."),
            RecorderCore::tr("Recording..."),
            RecorderCore::tr("Pause", "state"),
            RecorderCore::tr("Waiting for device..."),
            RecorderCore::tr("Listening", "state"),
            RecorderCore::tr("Waiting for sound..."),
            countdownText(47 * 3600 + 59 * 60 + 59)};
}

StatusPanels::StatusPanels(QStatusBar *bar)
{
    bar->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        int width = kPanelWidths[i];
        if (i == 0) {
            // Wide enough for the longest state text in the desktop's font.
            const QFontMetrics metrics(bar->font());
            for (const QString &text : transportStateTexts())
                width = std::max(width, metrics.horizontalAdvance(text) + 2 * kPanelPadding);
        }
        auto *panel = new StatusPanel(width, bar);
        panel->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        panel->setMaximumWidth(width);
        if (i == 0)
            panel->setMinimumWidth(width);
        bar->addWidget(panel);
        m_panels[i] = panel;
    }
    m_diskTimeLeft = new QLabel(bar);
    m_diskTimeLeft->setObjectName(QStringLiteral("diskTimeLeft"));
    m_diskTimeLeft->setTextFormat(Qt::PlainText);
    m_diskTimeLeft->setToolTip(tr("Recording time left on the disk of the save folder"));
    bar->addPermanentWidget(m_diskTimeLeft);
}

QString StatusPanels::text(int panel) const
{
    return m_panels[panel]->text();
}

void StatusPanels::setText(int panel, const QString &text)
{
    m_panels[panel]->setText(text);
    if (panel == 2) {
        // The format is never cut: its panel is at least as wide as its text, in any language.
        const int needed = text.isEmpty() ? 0 : m_panels[2]->fontMetrics().horizontalAdvance(text) + 2 * kPanelPadding;
        m_panels[2]->setMinimumWidth(needed);
        m_panels[2]->setMaximumWidth(std::max(kPanelWidths[2], needed));
    }
}

int StatusPanels::width(int panel) const
{
    return m_panels[panel]->width();
}

void StatusPanels::showDiskTimeLeft(qint64 seconds)
{
    m_diskTimeLeft->setText(diskTimeShortText(seconds));
    m_diskTimeLeft->setToolTip(seconds < 0 ? tr("Recording time left on the disk of the save folder")
                                           : diskTimeText(seconds));
}
