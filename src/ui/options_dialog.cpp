#include "ui/options_dialog.h"

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "ui/window_placement.h"
#include "session/convert.h"
#include "session/recording_settings.h"
#include "session/ini_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

constexpr int kClientWidth = 319;
constexpr int kClientHeight = 419;

const QString kMp3 = QStringLiteral(".MP3");
const QString kWav = QStringLiteral(".WAV");
const QString kWma = QStringLiteral(".WMA");

// Shows a stored list position; one outside the list leaves the list with no selection.
void selectPosition(QComboBox *list, int position)
{
    list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
}

// The dialog's arithmetic is 32-bit and wraps, as the stored values are 32-bit.
int wrapToInt(qint64 value)
{
    return int(quint32(quint64(value)));
}

// A number field with its unit written under it.
void addUnitField(QGridLayout *grid, int row, int column, QWidget *field, const QString &unit)
{
    auto *label = new QLabel(unit);
    label->setBuddy(field);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    grid->addWidget(field, row, column);
    grid->addWidget(label, row + 1, column);
}

}  // namespace

// ---- catalogues --------------------------------------------------------------------------

const QStringList &mp3Catalogue()
{
    static const QStringList entries{
        QStringLiteral("22050 Hz, 40 kbps"),  QStringLiteral("22050 Hz, 48 kbps"),
        QStringLiteral("22050 Hz, 64 kbps"),  QStringLiteral("22050 Hz, 80 kbps"),
        QStringLiteral("44100 Hz, 96 kbps"),  QStringLiteral("44100 Hz, 128 kbps"),
        QStringLiteral("44100 Hz, 160 kbps"), QStringLiteral("44100 Hz, 192 kbps"),
        QStringLiteral("44100 Hz, 256 kbps"), QStringLiteral("44100 Hz, 320 kbps"),
    };
    return entries;
}

Mp3Preset mp3PresetFromIndex(int position)
{
    static constexpr Mp3Preset presets[] = {
        {22050, 40}, {22050, 48}, {22050, 64},  {22050, 80},  {44100, 96},
        {44100, 128}, {44100, 160}, {44100, 192}, {44100, 256}, {44100, 320},
    };
    if (position >= 0 && position < int(std::size(presets)))
        return presets[position];
    return {44100, 128};
}

namespace {
constexpr int kWavRates[4] = {8000, 11025, 22050, 44100};
struct WavShape {
    int bits;
    int channels;
};
constexpr WavShape kWavShapes[4] = {{8, 1}, {16, 1}, {8, 2}, {16, 2}};
}  // namespace

const QStringList &wavCatalogue()
{
    static const QStringList entries = [] {
        QStringList out;
        for (int rate : kWavRates)
            for (const WavShape &shape : kWavShapes)
                out << QStringLiteral("%1 Hz - %2 bit,%3")
                           .arg(rate)
                           .arg(shape.bits)
                           .arg(shape.channels == 1 ? QStringLiteral("Mono") : QStringLiteral("Stereo"));
        return out;
    }();
    return entries;
}

WavPreset wavPresetFromIndex(int position, const WavPreset &current)
{
    WavPreset out = current;
    // C++ division truncates toward zero, so -1 gives quotient 0 and remainder -1.
    const int rate = position / 4;
    const int shape = position % 4;
    if (rate >= 0 && rate <= 3)
        out.frequency = kWavRates[rate];
    if (shape >= 0 && shape <= 3) {
        out.channels = kWavShapes[shape].channels;
        out.bitsPerSample = kWavShapes[shape].bits;
    }
    return out;
}

// ---- UpDownField -----------------------------------------------------------------------

UpDownField::UpDownField(int singleStep, QWidget *parent) : QAbstractSpinBox(parent), m_step(singleStep)
{
    setWrapping(false);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString &text) {
        if (const auto v = parseWholeNumber(text))
            m_lastValue = *v;
    });
}

void UpDownField::setText(const QString &text)
{
    lineEdit()->setText(text);
}

int UpDownField::currentValue() const
{
    // Like a buddy up-down control: the buttons continue from the number the field shows,
    // or from the last number it showed when it shows none.
    if (const auto v = parseWholeNumber(text()))
        return *v;
    return m_lastValue;
}

void UpDownField::stepBy(int steps)
{
    const qint64 next = std::clamp<qint64>(qint64(currentValue()) + qint64(steps) * m_step, Minimum, Maximum);
    m_lastValue = int(next);
    lineEdit()->setText(QString::number(next));
}

QAbstractSpinBox::StepEnabled UpDownField::stepEnabled() const
{
    if (isReadOnly() || !isEnabled())
        return StepNone;
    const int v = currentValue();
    StepEnabled enabled = StepNone;
    if (v < Maximum)
        enabled |= StepUpEnabled;
    if (v > Minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

QSize UpDownField::sizeHint() const
{
    ensurePolished();
    // Room for "100": the fields hold numbers of a few digits.
    const int textWidth = fontMetrics().horizontalAdvance(QStringLiteral("100")) + 4;
    const int h = lineEdit()->sizeHint().height();
    QStyleOptionSpinBox opt;
    initStyleOption(&opt);
    return style()->sizeFromContents(QStyle::CT_SpinBox, &opt, QSize(textWidth, h), this);
}

QSize UpDownField::minimumSizeHint() const
{
    return sizeHint();
}

// ---- OptionsDialog ----------------------------------------------------------------------

OptionsDialog::OptionsDialog(MainWindow &form)
    : QDialog(&form, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_form(form),
      m_settingFile(form.Engine.createFile(QStringLiteral("SettingFile")))
{
    setObjectName(QStringLiteral("SettingForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    buildControls();

    // Creation steps, before any handler is attached.
    FillFormatLists();
    const RecordingSettings &s = m_form.CurrentSettings;
    if (s.splitEnabled) {
        chSplitEvery->setChecked(true);
        enableSplitFields(true);
        edSplitMinutes->setText(QString::number(s.splitSeconds / 60));
        edSplitSeconds->setText(QString::number(s.splitSeconds % 60));
    }

    connectHandlers();

    // 319 x 419 holds everything at the usual 9-point desktop font; a larger desktop font
    // gets the nearest size that still shows every control whole.
    ensurePolished();
    setFixedSize(layout()->minimumSize().expandedTo(QSize(kClientWidth, kClientHeight)));
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::buildControls()
{
    // "Save Path"
    gbSavePath = new QGroupBox(QStringLiteral("Save Path"));
    EdSavePath = new QLineEdit;
    EdSavePath->setObjectName(QStringLiteral("EdSavePath"));
    btnSelectDir = new QToolButton;
    btnSelectDir->setObjectName(QStringLiteral("btnSelectDir"));
    btnSelectDir->setAutoRaise(true);
    btnSelectDir->setIcon(QIcon::fromTheme(QStringLiteral("folder-open"), style()->standardIcon(QStyle::SP_DirOpenIcon)));
    btnSelectDir->setToolTip(QStringLiteral("select save directory"));
    btnSelectDir->setAccessibleName(QStringLiteral("select save directory"));
    btnSelectDir->setFocusPolicy(Qt::StrongFocus);
    auto *pathRow = new QHBoxLayout(gbSavePath);
    pathRow->addWidget(EdSavePath, 1);
    pathRow->addWidget(btnSelectDir);

    // "Record Format": each format's radio button with its list on the same row.
    gbRecordFormat = new QGroupBox(QStringLiteral("Record Format"));
    rbMP3 = new QRadioButton(QStringLiteral("MP3"));
    rbWAV = new QRadioButton(QStringLiteral("WAV"));
    rbWMA = new QRadioButton(QStringLiteral("WMA"));
    rbMP3->setChecked(true);
    cbMP3 = new QComboBox;
    cbWAV = new QComboBox;
    cbWMA = new QComboBox;
    cbMP3->setObjectName(QStringLiteral("cbMP3"));
    cbWAV->setObjectName(QStringLiteral("cbWAV"));
    cbWMA->setObjectName(QStringLiteral("cbWMA"));
    auto *formatGrid = new QGridLayout(gbRecordFormat);
    const QList<QPair<QRadioButton *, QComboBox *>> rows{{rbMP3, cbMP3}, {rbWAV, cbWAV}, {rbWMA, cbWMA}};
    for (int row = 0; row < rows.size(); ++row) {
        formatGrid->addWidget(rows[row].first, row, 0);
        formatGrid->addWidget(rows[row].second, row, 1);
    }
    // The catalogue entries are shown whole; the engine's WMA labels (up to 100 characters)
    // take the column's width and are read whole in the opened list.
    cbMP3->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cbWAV->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cbWMA->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbWMA->setMinimumContentsLength(8);
    formatGrid->setColumnStretch(1, 1);

    // "Time Limit": the two choices side by side, the three fields below them, each with its
    // unit under it (beside them the three would not fit the dialog's width).
    gbTimeLimit = new QGroupBox(QStringLiteral("Time Limit"));
    rbNoLimit = new QRadioButton(QStringLiteral("No Limit"));
    rbStopAfter = new QRadioButton(QStringLiteral("Stop recording after "));
    rbNoLimit->setChecked(true);
    edHours = new UpDownField(1);
    edMinutes = new UpDownField(1);
    edSeconds = new UpDownField(5);
    edHours->setObjectName(QStringLiteral("edHours"));
    edMinutes->setObjectName(QStringLiteral("edMinutes"));
    edSeconds->setObjectName(QStringLiteral("edSeconds"));
    auto *timeGrid = new QGridLayout(gbTimeLimit);
    auto *choiceRow = new QHBoxLayout;
    choiceRow->addWidget(rbNoLimit);
    choiceRow->addSpacing(16);
    choiceRow->addWidget(rbStopAfter);
    choiceRow->addStretch(1);
    timeGrid->addLayout(choiceRow, 0, 0, 1, 4);
    addUnitField(timeGrid, 1, 0, edHours, QStringLiteral("hours"));
    addUnitField(timeGrid, 1, 1, edMinutes, QStringLiteral("minutes"));
    addUnitField(timeGrid, 1, 2, edSeconds, QStringLiteral("seconds"));
    timeGrid->setColumnStretch(3, 1);

    // "Auto Split": the check box on the fields' row.
    gbAutoSplit = new QGroupBox(QStringLiteral("Auto Split"));
    chSplitEvery = new QCheckBox(QStringLiteral("Split Every"));
    edSplitMinutes = new UpDownField(1);
    edSplitSeconds = new UpDownField(5);
    edSplitMinutes->setObjectName(QStringLiteral("edSplitMinutes"));
    edSplitSeconds->setObjectName(QStringLiteral("edSplitSeconds"));
    auto *splitGrid = new QGridLayout(gbAutoSplit);
    splitGrid->addWidget(chSplitEvery, 0, 0);
    addUnitField(splitGrid, 0, 1, edSplitMinutes, QStringLiteral("minutes"));
    addUnitField(splitGrid, 0, 2, edSplitSeconds, QStringLiteral("seconds"));
    splitGrid->setColumnStretch(3, 1);

    enableTimeFields(false);
    enableSplitFields(false);

    // Bottom row.
    btnOK = new QPushButton(QStringLiteral("OK"));
    btnCancel = new QPushButton(QStringLiteral("Cancel"));
    btnOK->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);

    // Compact margins: four groups and the buttons share 419 pixels.
    for (QGroupBox *group : {gbSavePath, gbRecordFormat, gbTimeLimit, gbAutoSplit}) {
        group->layout()->setContentsMargins(8, 4, 8, 8);
        group->layout()->setSpacing(4);
    }
    for (QGridLayout *grid : {timeGrid, splitGrid}) {
        grid->setHorizontalSpacing(10);
        grid->setVerticalSpacing(1);
    }
    timeGrid->setRowMinimumHeight(0, rbNoLimit->sizeHint().height() + 3);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 8, 9, 9);
    layout->setSpacing(8);
    layout->addWidget(gbSavePath);
    layout->addWidget(gbRecordFormat);
    layout->addWidget(gbTimeLimit);
    layout->addWidget(gbAutoSplit);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // Keyboard order: the three upper groups, OK and Cancel, then the split group.
    const QList<QWidget *> order{EdSavePath, btnSelectDir, rbMP3,   cbMP3,     rbWAV,     cbWAV,
                                 rbWMA,      cbWMA,        rbNoLimit, rbStopAfter, edHours, edMinutes,
                                 edSeconds,  btnOK,        btnCancel, chSplitEvery, edSplitMinutes,
                                 edSplitSeconds};
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void OptionsDialog::connectHandlers()
{
    const auto onSelect = [this](QRadioButton *button, void (OptionsDialog::*rule)()) {
        // A selection made in code runs the click rule as a click does.
        connect(button, &QRadioButton::toggled, this, [this, rule](bool on) {
            if (on)
                (this->*rule)();
        });
    };
    onSelect(rbMP3, &OptionsDialog::rbMP3Click);
    onSelect(rbWAV, &OptionsDialog::rbWAVClick);
    onSelect(rbWMA, &OptionsDialog::rbWMAClick);
    onSelect(rbNoLimit, &OptionsDialog::rbNoLimitClick);
    onSelect(rbStopAfter, &OptionsDialog::rbStopAfterClick);
    connect(chSplitEvery, &QCheckBox::toggled, this, [this] { chSplitEveryClick(); });
    connect(btnSelectDir, &QToolButton::clicked, this, [this] { ui::runCommand([this] { btnSelectDirClick(); }); });
    connect(btnOK, &QPushButton::clicked, this, [this] { ui::runCommand([this] { btnOKClick(); }); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

void OptionsDialog::enableFormatLists(bool mp3, bool wav, bool wma)
{
    cbMP3->setEnabled(mp3);
    cbWAV->setEnabled(wav);
    cbWMA->setEnabled(wma);
}

void OptionsDialog::enableTimeFields(bool on)
{
    edHours->setEnabled(on);
    edMinutes->setEnabled(on);
    edSeconds->setEnabled(on);
}

void OptionsDialog::enableSplitFields(bool on)
{
    edSplitMinutes->setEnabled(on);
    edSplitSeconds->setEnabled(on);
}

QString OptionsDialog::WmaProfileLabel(int number)
{
    m_settingFile->SetActive(true);
    m_settingFile->SetWmaProfile(number);
    // The description starts with "WMA "; the label is what follows, at most 100 characters.
    return m_settingFile->GetFormatDescription().mid(4, 100);
}

void OptionsDialog::FillFormatLists()
{
    cbMP3->clear();
    cbMP3->addItems(mp3Catalogue());

    cbWAV->clear();
    cbWAV->addItems(wavCatalogue());
    cbWAV->setCurrentIndex(15);

    const RecordingSettings &s = m_form.CurrentSettings;
    // An engine that fails here leaves the WMA list short; the rest of the dialog still works.
    ui::runCommand([this] {
        m_settingFile->SetActive(true);
        const int count = m_settingFile->GetWmaProfileCount();
        cbWMA->clear();
        for (int number = 1; number <= count; ++number)
            cbWMA->addItem(WmaProfileLabel(number));
    });
    selectPosition(cbWMA, s.wmaProfile);
    ui::runCommand([this, &s] { m_settingFile->SetWmaProfile(s.wmaProfile); });

    const QString format = s.saveFormat.toUpper();
    if (format == kMp3)
        enableFormatLists(true, false, false);
    else if (format == kWav)
        enableFormatLists(false, true, false);
    else if (format == kWma)
        enableFormatLists(false, false, true);
    else
        enableFormatLists(true, true, true);
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    CentreOnOwner(this, &m_form);
    FormShow();
}

void OptionsDialog::FormShow()
{
    RecordingSettings &s = m_form.CurrentSettings;

    // The writing component gets all three formats; it picks the one to write by the file's
    // extension, so this changes nothing when the dialog is cancelled.
    ui::runCommand([this, &s] {
        engine::IAudioFile2 &writer = *m_form.AudioFile2;
        writer.SetMp3Format(s.mp3Frequency, s.mp3Bitrate, 2);
        writer.SetWavFormat(s.wavFrequency, s.wavChannels, s.wavBitsPerSample);
        writer.SetWmaProfile(s.wmaProfile);
    });

    EdSavePath->setText(s.savePath);

    const QString format = s.saveFormat.toUpper();
    if (format == kMp3)
        rbMP3->setChecked(true);
    else if (format == kWav)
        rbWAV->setChecked(true);
    else if (format == kWma)
        rbWMA->setChecked(true);

    const IniFile ini = m_form.settingsFile();
    s.timeLimitSeconds = ini.readInteger(QStringLiteral("options"), QStringLiteral("timelimit"), -1);
    if (s.timeLimitSeconds > 0) {
        rbStopAfter->setChecked(true);
        edHours->setText(QString::number(s.timeLimitSeconds / 3600));
        edMinutes->setText(QString::number(s.timeLimitSeconds % 3600 / 60));
        edSeconds->setText(QString::number(s.timeLimitSeconds % 60));
    }

    selectPosition(cbMP3, ini.readInteger(QStringLiteral("mp3"), QStringLiteral("ind"), 5));
    selectPosition(cbWAV, ini.readInteger(QStringLiteral("wav"), QStringLiteral("ind"), 15));
}

void OptionsDialog::rbMP3Click()
{
    enableFormatLists(true, false, false);
}

void OptionsDialog::rbWAVClick()
{
    enableFormatLists(false, true, false);
}

void OptionsDialog::rbWMAClick()
{
    enableFormatLists(false, false, true);
}

void OptionsDialog::rbNoLimitClick()
{
    enableTimeFields(false);
}

void OptionsDialog::rbStopAfterClick()
{
    enableTimeFields(true);
}

void OptionsDialog::chSplitEveryClick()
{
    enableSplitFields(chSplitEvery->isChecked());
}

void OptionsDialog::btnSelectDirClick()
{
    QString folder = ui::getExistingDirectory(this, QStringLiteral("Select a directory to save output files"));
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    EdSavePath->setText(folder);
    m_form.CurrentSettings.savePath = folder;
}

void OptionsDialog::btnOKClick()
{
    RecordingSettings &s = m_form.CurrentSettings;

    s.savePath = EdSavePath->text();

    if (rbMP3->isChecked()) {
        s.saveFormat = QStringLiteral(".mp3");
        const Mp3Preset mp3 = mp3PresetFromIndex(cbMP3->currentIndex());
        s.mp3Frequency = mp3.frequency;
        s.mp3Bitrate = mp3.bitrate;
    } else if (rbWAV->isChecked()) {
        s.saveFormat = QStringLiteral(".wav");
        const WavPreset wav = wavPresetFromIndex(cbWAV->currentIndex(), {s.wavFrequency, s.wavChannels, s.wavBitsPerSample});
        s.wavFrequency = wav.frequency;
        s.wavChannels = wav.channels;
        s.wavBitsPerSample = wav.bitsPerSample;
    } else if (rbWMA->isChecked()) {
        s.saveFormat = QStringLiteral(".wma");
        s.wmaProfile = cbWMA->currentIndex();
        m_settingFile->SetWmaProfile(s.wmaProfile);
    }

    if (rbStopAfter->isChecked()) {
        const int hours = toInteger(edHours->text());
        const int minutes = toInteger(edMinutes->text());
        const int seconds = toInteger(edSeconds->text());
        s.timeLimitSeconds = wrapToInt(qint64(hours) * 3600 + qint64(minutes) * 60 + seconds);
    } else {
        s.timeLimitSeconds = -1;
    }

    if (chSplitEvery->isChecked()) {
        const int minutes = toInteger(edSplitMinutes->text());
        const int seconds = toInteger(edSplitSeconds->text());
        s.splitEnabled = true;
        s.splitSeconds = wrapToInt(qint64(minutes) * 60 + seconds);
    } else {
        s.splitEnabled = false;
    }

    m_form.ApplyOutputFormat();

    IniFile ini = m_form.settingsFile();
    SaveSettings(ini, s, cbMP3->currentIndex(), cbWAV->currentIndex());

    accept();
}

void OptionsDialog::btnCancelClick()
{
    reject();
}

// ---- opening -------------------------------------------------------------------------------

void MainWindow::OptionsClick()
{
    if (!SettingForm)
        SettingForm = new OptionsDialog(*this);
    // Modal; closing it in any way deletes it, and the QPointer forgets it.
    SettingForm->exec();
}
