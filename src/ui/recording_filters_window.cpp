#include "ui/recording_filters_window.h"

#include "session/device_controls.h"
#include "ui/ui_services.h"
#include "ui/window_placement.h"
#include "session/convert.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QSlider>
#include <QScopeGuard>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

struct RowDesign {
    const char *caption;   // translated where it is shown
    const char *barName;   // what a screen reader calls the bar, translated too
    const char *editName;  // and the box
    int min, max;   // Hz
    int tick;       // Hz between tick marks, also the bar's page step
    int design;     // Hz at first
};

constexpr RowDesign kRows[3] = {
    {QT_TRANSLATE_NOOP("RecordingFiltersWindow", "Notch Filter"),
     QT_TRANSLATE_NOOP("RecordingFiltersWindow", "Notch filter frequency"),
     QT_TRANSLATE_NOOP("RecordingFiltersWindow", "Notch filter frequency in Hz"), 40, 200, 5, 50},
    {QT_TRANSLATE_NOOP("RecordingFiltersWindow", "HighPass Filter"),
     QT_TRANSLATE_NOOP("RecordingFiltersWindow", "High-pass filter frequency"),
     QT_TRANSLATE_NOOP("RecordingFiltersWindow", "High-pass filter frequency in Hz"), 100, 44100, 1000, 400},
    {QT_TRANSLATE_NOOP("RecordingFiltersWindow", "LowPass Filter"),
     QT_TRANSLATE_NOOP("RecordingFiltersWindow", "Low-pass filter frequency"),
     QT_TRANSLATE_NOOP("RecordingFiltersWindow", "Low-pass filter frequency in Hz"), 100, 44100, 1000, 4000},
};

constexpr int kRowTops[3] = {16, 48, 80};

}  // namespace

bool isFrequencyKey(QChar key)
{
    const char16_t c = key.unicode();
    if (c < 32)
        return c != u'\r';
    if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-')
        return true;
    return QLocale().decimalPoint() == QString(key);
}

std::optional<int> frequencyToPosition(float hz, int min, int max)
{
    const double v = hz;
    if (std::isnan(v))
        return std::nullopt;
    if (v <= min)
        return min;
    if (v >= max)
        return max;
    // Round half to even, whatever the floating-point environment's rounding mode is.
    double whole = std::floor(v);
    const double fraction = v - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    return std::clamp(int(whole), min, max);
}

// ---- FrequencyEdit ----------------------------------------------------------------------

FrequencyEdit::FrequencyEdit(QWidget *parent) : QLineEdit(parent) {}

void FrequencyEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (onKeyPress)
            onKeyPress(QLatin1Char('\r'));
        event->accept();
        return;
    }
    // Shortcuts (Ctrl+V, Ctrl+A, ...) type control characters, which always pass; keys that
    // type nothing (arrows, Home, Delete) are no characters at all.
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && onKeyPress) {
        for (const QChar c : event->text()) {
            if (c.unicode() == 0x7f)   // what Delete types on some platforms
                continue;
            if (!onKeyPress(c)) {
                event->accept();
                return;
            }
        }
    }
    QLineEdit::keyPressEvent(event);
}

void FrequencyEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    // A context menu borrows the focus to paste into the box: that is no leaving.
    if (event->reason() != Qt::PopupFocusReason && onExit)
        onExit();
}

// ---- RecordingFiltersWindow -------------------------------------------------------------------------

RecordingFiltersWindow::RecordingFiltersWindow(RecordingFilters &filters, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint),
      m_filters(filters)
{
    setObjectName(QStringLiteral("recordingFiltersWindow"));
    setWindowTitle(tr("Recording Filters"));
    setModal(false);
    setFixedSize(380, 120);

    for (int i = 0; i < 3; ++i) {
        const RowDesign &d = kRows[i];
        const int top = kRowTops[i];
        const QString n = QString::number(i + 1);

        auto *box = new QCheckBox(tr(d.caption), this);
        box->setObjectName(QStringLiteral("filterSwitch") + n);
        box->setGeometry(16, top, 89, 21);

        // The design value goes in before the handlers are attached: building sends nothing.
        auto *bar = new QSlider(Qt::Horizontal, this);
        bar->setObjectName(QStringLiteral("frequencyBar") + n);
        bar->setGeometry(112, top, 185, 25);
        bar->setRange(d.min, d.max);
        bar->setValue(d.design);
        bar->setTickPosition(QSlider::TicksBelow);
        bar->setTickInterval(d.tick);
        bar->setSingleStep(1);
        bar->setPageStep(d.tick);
        bar->setAccessibleName(tr(d.barName));

        auto *edit = new FrequencyEdit(this);
        edit->setObjectName(QStringLiteral("frequencyEdit") + n);
        edit->setGeometry(304, top + 2, 41, 21);
        edit->setText(QString::number(d.design));
        edit->setAccessibleName(tr(d.editName));

        //: the unit of the frequency box beside it: hertz
        auto *hz = new QLabel(tr("Hz"), this);
        hz->setObjectName(QStringLiteral("hzLabel") + n);
        hz->move(352, top + 8);
        hz->adjustSize();

        // Tab goes along the row: switch, bar, box; then the next row.
        if (i > 0)
            setTabOrder(m_edits[i - 1], box);
        setTabOrder(box, bar);
        setTabOrder(bar, edit);

        m_switches[i] = box;
        m_bars[i] = bar;
        m_edits[i] = edit;
        m_hzLabels[i] = hz;

        const int row = i + 1;
        connect(box, &QCheckBox::clicked, this, [this, row] { ui::runCommand([=, this] { switchClicked(row); }); });
        connect(bar, &QSlider::valueChanged, this, [this, row] { ui::runCommand([=, this] { barChanged(row); }); });
        edit->onKeyPress = [this, row](QChar key) {
            bool pass = false;
            ui::runCommand([&] { pass = keyPressed(row, key); });
            return pass;
        };
        edit->onExit = [this, row] { ui::runCommand([=, this] { editLeft(row); }); };
    }
    fitFont();
}

RecordingFiltersWindow::~RecordingFiltersWindow()
{
    // The boxes lose the focus while the window goes, after the main window's engine is gone.
    for (FrequencyEdit *edit : m_edits) {
        edit->onKeyPress = nullptr;
        edit->onExit = nullptr;
    }
}

QCheckBox *RecordingFiltersWindow::switchBox(int row) const
{
    return m_switches[row - 1];
}

QSlider *RecordingFiltersWindow::bar(int row) const
{
    return m_bars[row - 1];
}

FrequencyEdit *RecordingFiltersWindow::edit(int row) const
{
    return m_edits[row - 1];
}

namespace {

// Rows 1..3 are the notch, the high-pass and the low-pass.
RecordingFilters::Filter filterOfRow(int row)
{
    return row == 1 ? RecordingFilters::Filter::Notch
           : row == 2 ? RecordingFilters::Filter::HighPass
                      : RecordingFilters::Filter::LowPass;
}

}  // namespace

void RecordingFiltersWindow::sendEnabled(int row, bool on)
{
    if (row >= 1 && row <= 3)
        m_filters.setOn(filterOfRow(row), on);
}

void RecordingFiltersWindow::sendFrequency(int row, float hz)
{
    if (row >= 1 && row <= 3)
        m_filters.setFrequency(filterOfRow(row), hz);
}

void RecordingFiltersWindow::switchClicked(int row)
{
    sendEnabled(row, switchBox(row)->isChecked());
}

void RecordingFiltersWindow::barChanged(int row)
{
    const int position = bar(row)->value();
    edit(row)->setText(QString::number(position));
    sendFrequency(row, float(position));
}

bool RecordingFiltersWindow::keyPressed(int row, QChar key)
{
    if (key == QLatin1Char('\r')) {
        editLeft(row);
        return false;
    }
    if (!isFrequencyKey(key)) {
        ui::beep();
        return false;
    }
    return true;
}

void RecordingFiltersWindow::editLeft(int row)
{
    // An error box raised while applying takes the focus away again: apply once.
    if (m_applying)
        return;
    m_applying = true;
    const auto done = qScopeGuard([this] { m_applying = false; });

    QSlider *bar = this->bar(row);
    FrequencyEdit *edit = this->edit(row);
    const std::optional<int> typed = parseWholeNumber(edit->text());
    if (!typed) {
        edit->setText(QString::number(bar->value()));
        return;
    }
    const int position = std::clamp(*typed, bar->minimum(), bar->maximum());
    if (position != bar->value())
        bar->setValue(position);   // the bar's change handler rewrites the box and sends it
    else
        edit->setText(QString::number(position));
}

void RecordingFiltersWindow::syncFromRecorder()
{
    for (int row = 1; row <= 3; ++row) {
        const bool on = m_filters.isOn(filterOfRow(row));
        QCheckBox *box = switchBox(row);
        if (box->isChecked() != on) {
            box->setChecked(on);
            switchClicked(row);
        }
    }
    for (int row = 1; row <= 3; ++row) {
        const float hz = m_filters.frequency(filterOfRow(row));
        QSlider *bar = this->bar(row);
        if (const std::optional<int> position = frequencyToPosition(hz, bar->minimum(), bar->maximum()))
            bar->setValue(*position);   // a change runs the bar's change handler
    }
}

void RecordingFiltersWindow::showOrRaise()
{
    if (!isVisible()) {
        centreOnOwner(this, parentWidget());
        show();
    }
    raise();
    activateWindow();
}

void RecordingFiltersWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        fitFont();
    QDialog::changeEvent(event);
}

void RecordingFiltersWindow::fitFont()
{
    // The rows keep their pixel layout; with a large desktop font the captions or "44100"
    // would be cut, so the window's font shrinks (down to 7 pt) until they fit.
    if (m_fitting)
        return;
    m_fitting = true;
    setFont(QFont());
    QFont f = font();
    const QStyle *st = style();
    const int indicator = st->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, m_switches[0])
                          + st->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, m_switches[0]) + 2;
    auto fits = [&] {
        const QFontMetrics fm(f);
        for (int row = 1; row <= 3; ++row)
            if (indicator + fm.horizontalAdvance(switchBox(row)->text()) > switchBox(row)->width())
                return false;
        const QMargins m = m_edits[0]->textMargins();
        const int frame = 2 * st->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_edits[0]);
        return fm.horizontalAdvance(QStringLiteral("44100")) + m.left() + m.right() + frame + 4 <= m_edits[0]->width();
    };
    while (!fits() && f.pointSizeF() > 7.0) {
        f.setPointSizeF(std::max(7.0, f.pointSizeF() - 0.5));
        setFont(f);
    }
    for (QLabel *hz : m_hzLabels)
        hz->adjustSize();
    m_fitting = false;
}
