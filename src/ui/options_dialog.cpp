#include "ui/options_dialog.h"

#include "session/convert.h"
#include "session/recorder_core.h"
#include "ui/global_shortcuts.h"
#include "ui/ui_services.h"
#include "ui/window_placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
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

constexpr int kClientWidth = 622;
constexpr int kClientHeight = 471;


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

OptionsDialog::OptionsDialog(RecorderCore &core, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_core(core)
{
    setObjectName(QStringLiteral("optionsDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Options"));
    setModal(true);
    buildControls();

    // Creation steps, before any handler is attached.
    fillFormatLists();
    const RecordingSettings &s = m_core.recording().settings();
    if (s.splitEnabled) {
        m_splitBox->setChecked(true);
        enableSplitFields(true);
        m_splitMinutes->setText(QString::number(s.splitSeconds / 60));
        m_splitSeconds->setText(QString::number(s.splitSeconds % 60));
    }

    connectHandlers();
    showShortcuts();   // and the size that holds it all
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::fitSize()
{
    // 622 wide holds everything at the usual 9-point desktop font (528 high); a larger
    // desktop font gets the nearest size that still shows every control whole, wrapped texts
    // included.
    ensurePolished();
    QSize size = layout()->minimumSize().expandedTo(QSize(kClientWidth, kClientHeight));
    if (layout()->hasHeightForWidth())
        size.setHeight(std::max(size.height(), layout()->totalHeightForWidth(size.width())));
    setFixedSize(size);
}

void OptionsDialog::setGlobalShortcuts(GlobalShortcuts *shortcuts)
{
    if (m_shortcuts)
        disconnect(m_shortcuts, nullptr, this, nullptr);
    m_shortcuts = shortcuts;
    if (m_shortcuts)
        connect(m_shortcuts, &GlobalShortcuts::changed, this, &OptionsDialog::showShortcuts);
    showShortcuts();
}

void OptionsDialog::showShortcuts()
{
    const bool available = m_shortcuts && m_shortcuts->available();
    if (available) {
        const QList<GlobalShortcuts::Shortcut> all = m_shortcuts->shortcuts();
        for (int i = 0; i < all.size() && i < m_shortcutKeys.size(); ++i) {
            m_shortcutNames[i]->setText(all[i].description);
            m_shortcutKeys[i]->setText(all[i].keys.isEmpty() ? tr("not bound") : all[i].keys);
        }
    }
    for (QLabel *label : m_shortcutNames + m_shortcutKeys)
        label->setVisible(available);
    m_changeShortcutsButton->setVisible(available);
    m_shortcutsMissing->setVisible(!available);
    fitSize();
}

void OptionsDialog::buildControls()
{
    // "Save Path"
    m_savePathGroup = new QGroupBox(tr("Save Path"));
    m_savePathGroup->setObjectName(QStringLiteral("savePathGroup"));
    m_savePath = new QLineEdit;
    m_savePath->setObjectName(QStringLiteral("savePath"));
    m_savePath->setAccessibleName(tr("Save Path"));
    m_chooseFolderButton = new QToolButton;
    m_chooseFolderButton->setObjectName(QStringLiteral("chooseFolderButton"));
    m_chooseFolderButton->setAutoRaise(true);
    m_chooseFolderButton->setIcon(QIcon::fromTheme(QStringLiteral("folder-open"), style()->standardIcon(QStyle::SP_DirOpenIcon)));
    m_chooseFolderButton->setToolTip(tr("select save directory"));
    m_chooseFolderButton->setAccessibleName(tr("select save directory"));
    m_chooseFolderButton->setFocusPolicy(Qt::StrongFocus);
    auto *pathRow = new QHBoxLayout(m_savePathGroup);
    pathRow->addWidget(m_savePath, 1);
    pathRow->addWidget(m_chooseFolderButton);

    // "Record Format": each format's radio button with its list on the same row.
    m_formatGroup = new QGroupBox(tr("Record Format"));
    m_formatGroup->setObjectName(QStringLiteral("formatGroup"));
    m_mp3Button = new QRadioButton(tr("MP3"));
    m_mp3Button->setObjectName(QStringLiteral("mp3Button"));
    m_wavButton = new QRadioButton(tr("WAV"));
    m_wavButton->setObjectName(QStringLiteral("wavButton"));
    m_wmaButton = new QRadioButton(tr("WMA"));
    m_wmaButton->setObjectName(QStringLiteral("wmaButton"));
    m_flacButton = new QRadioButton(tr("FLAC"));
    m_flacButton->setObjectName(QStringLiteral("flacButton"));
    m_oggButton = new QRadioButton(tr("Ogg"));
    m_oggButton->setObjectName(QStringLiteral("oggButton"));
    m_oggButton->setToolTip(tr("Ogg Vorbis"));
    m_opusButton = new QRadioButton(tr("Opus"));
    m_opusButton->setObjectName(QStringLiteral("opusButton"));
    m_mp3Button->setChecked(true);
    m_mp3List = new QComboBox;
    m_wavList = new QComboBox;
    m_wmaList = new QComboBox;
    m_mp3List->setObjectName(QStringLiteral("mp3List"));
    m_wavList->setObjectName(QStringLiteral("wavList"));
    m_wmaList->setObjectName(QStringLiteral("wmaList"));
    m_flacList = new QComboBox;
    m_flacList->setObjectName(QStringLiteral("flacList"));
    m_oggList = new QComboBox;
    m_oggList->setObjectName(QStringLiteral("oggList"));
    m_opusList = new QComboBox;
    m_opusList->setObjectName(QStringLiteral("opusList"));
    // Each list says which format it sets: the group's title alone would name all six alike.
    m_mp3List->setAccessibleName(tr("MP3 quality"));
    m_wavList->setAccessibleName(tr("WAV quality"));
    m_wmaList->setAccessibleName(tr("WMA profile"));
    m_flacList->setAccessibleName(tr("FLAC quality"));
    m_oggList->setAccessibleName(tr("Ogg Vorbis quality"));
    m_opusList->setAccessibleName(tr("Opus quality"));
    m_flacLevel = new QSpinBox;
    m_flacLevel->setObjectName(QStringLiteral("flacLevel"));
    m_flacLevel->setRange(0, 8);
    m_flacLevel->setToolTip(tr("0 writes fastest, 8 writes the smallest files; the sound is the same"));
    auto *flacLevelLabel = new QLabel(tr("Compression level"));
    flacLevelLabel->setBuddy(m_flacLevel);
    auto *flacLevelRow = new QHBoxLayout;
    flacLevelRow->setContentsMargins(0, 0, 0, 0);
    flacLevelRow->addWidget(flacLevelLabel);
    flacLevelRow->addWidget(m_flacLevel);
    flacLevelRow->addStretch(1);
    auto *formatGrid = new QGridLayout(m_formatGroup);
    const QList<QPair<QRadioButton *, QComboBox *>> rows{{m_mp3Button, m_mp3List}, {m_wavButton, m_wavList},
                                                         {m_wmaButton, m_wmaList}, {m_flacButton, m_flacList},
                                                         {m_oggButton, m_oggList}, {m_opusButton, m_opusList}};
    for (int row = 0, gridRow = 0; row < rows.size(); ++row, ++gridRow) {
        formatGrid->addWidget(rows[row].first, gridRow, 0);
        formatGrid->addWidget(rows[row].second, gridRow, 1);
        if (rows[row].first == m_flacButton)
            formatGrid->addLayout(flacLevelRow, ++gridRow, 1);   // FLAC's own second row
    }
    // The catalogue entries are shown whole; the engine's WMA labels (up to 100 characters)
    // take the column's width and are read whole in the opened list.
    for (QComboBox *list : {m_mp3List, m_wavList, m_flacList, m_oggList, m_opusList})
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_wmaList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_wmaList->setMinimumContentsLength(8);
    formatGrid->setColumnStretch(1, 1);

    // "Time Limit": the two choices side by side, the three fields below them, each with its
    // unit under it (beside them the three would not fit the dialog's width).
    m_timeLimitGroup = new QGroupBox(tr("Time Limit"));
    m_timeLimitGroup->setObjectName(QStringLiteral("timeLimitGroup"));
    m_noLimitButton = new QRadioButton(tr("No Limit"));
    m_noLimitButton->setObjectName(QStringLiteral("noLimitButton"));
    //: followed by the hours, minutes and seconds fields
    m_stopAfterButton = new QRadioButton(tr("Stop recording after "));
    m_stopAfterButton->setObjectName(QStringLiteral("stopAfterButton"));
    m_noLimitButton->setChecked(true);
    m_hours = new UpDownField(1);
    m_minutes = new UpDownField(1);
    m_seconds = new UpDownField(5);
    m_hours->setObjectName(QStringLiteral("hours"));
    m_minutes->setObjectName(QStringLiteral("minutes"));
    m_seconds->setObjectName(QStringLiteral("seconds"));
    // The units under the fields name them on sight; a screen reader says what they limit too.
    m_hours->setAccessibleName(tr("Time limit hours"));
    m_minutes->setAccessibleName(tr("Time limit minutes"));
    m_seconds->setAccessibleName(tr("Time limit seconds"));
    auto *timeGrid = new QGridLayout(m_timeLimitGroup);
    auto *choiceRow = new QHBoxLayout;
    choiceRow->addWidget(m_noLimitButton);
    choiceRow->addSpacing(16);
    choiceRow->addWidget(m_stopAfterButton);
    choiceRow->addStretch(1);
    timeGrid->addLayout(choiceRow, 0, 0, 1, 4);
    addUnitField(timeGrid, 1, 0, m_hours, tr("hours"));
    addUnitField(timeGrid, 1, 1, m_minutes, tr("minutes"));
    addUnitField(timeGrid, 1, 2, m_seconds, tr("seconds"));
    timeGrid->setColumnStretch(3, 1);

    // "Auto Split": the check box on the fields' row.
    m_splitGroup = new QGroupBox(tr("Auto Split"));
    m_splitGroup->setObjectName(QStringLiteral("splitGroup"));
    //: followed by the minutes and seconds fields
    m_splitBox = new QCheckBox(tr("Split Every"));
    m_splitBox->setObjectName(QStringLiteral("splitBox"));
    m_splitMinutes = new UpDownField(1);
    m_splitSeconds = new UpDownField(5);
    m_splitMinutes->setObjectName(QStringLiteral("splitMinutes"));
    m_splitSeconds->setObjectName(QStringLiteral("splitSeconds"));
    m_splitMinutes->setAccessibleName(tr("Auto split minutes"));
    m_splitSeconds->setAccessibleName(tr("Auto split seconds"));
    auto *splitGrid = new QGridLayout(m_splitGroup);
    splitGrid->addWidget(m_splitBox, 0, 0);
    addUnitField(splitGrid, 0, 1, m_splitMinutes, tr("minutes"));
    addUnitField(splitGrid, 0, 2, m_splitSeconds, tr("seconds"));
    splitGrid->setColumnStretch(3, 1);

    // "Lost Input Device": wait for it and go on, or end the recording.
    m_deviceGroup = new QGroupBox(tr("Lost Input Device"));
    m_deviceGroup->setObjectName(QStringLiteral("deviceGroup"));
    m_resumeBox = new QCheckBox(tr("Go on recording when it comes back"));
    m_resumeBox->setObjectName(QStringLiteral("resumeBox"));
    m_resumeBox->setToolTip(tr("A recording whose input device went away waits up to ten minutes for "
                                "it and goes on in a new file"));
    auto *deviceRow = new QHBoxLayout(m_deviceGroup);
    deviceRow->addWidget(m_resumeBox);

    // "Before Record": the input stays open while idle and the newest seconds are kept.
    m_prerecordGroup = new QGroupBox(tr("Before Record"));
    m_prerecordGroup->setObjectName(QStringLiteral("prerecordGroup"));
    //: followed by a number field and "seconds before Record"
    m_prerecordBox = new QCheckBox(tr("Keep the last"));
    m_prerecordBox->setObjectName(QStringLiteral("prerecordBox"));
    m_prerecordBox->setToolTip(tr("The input stays open while the program is idle; Record writes "
                                   "these seconds first"));
    // "Keep the last" only makes sense with the field and the unit after it: the tooltip says it whole.
    m_prerecordBox->setAccessibleDescription(m_prerecordBox->toolTip());
    m_prerecordSeconds = new QSpinBox;
    m_prerecordSeconds->setObjectName(QStringLiteral("prerecordSeconds"));
    m_prerecordSeconds->setRange(1, 30);
    m_prerecordSeconds->setValue(5);
    auto *prerecordUnit = new QLabel(tr("seconds before Record"));
    prerecordUnit->setBuddy(m_prerecordSeconds);
    auto *prerecordRow = new QHBoxLayout(m_prerecordGroup);
    prerecordRow->addWidget(m_prerecordBox);
    prerecordRow->addWidget(m_prerecordSeconds);
    prerecordRow->addWidget(prerecordUnit);
    prerecordRow->addStretch(1);

    // "Start on sound": Record arms, and writing starts when the input gets loud.
    m_triggerGroup = new QGroupBox(tr("Start on sound"));
    m_triggerGroup->setObjectName(QStringLiteral("triggerGroup"));
    m_triggerGroup->setCheckable(true);
    m_triggerGroup->setChecked(false);
    m_triggerGroup->setToolTip(tr("Record waits for sound; the half second before it is kept"));
    m_triggerLevel = new QSpinBox;
    m_triggerLevel->setObjectName(QStringLiteral("triggerLevel"));
    m_triggerLevel->setRange(-60, 0);
    //: the unit after the trigger level: decibels relative to full scale
    m_triggerLevel->setSuffix(tr(" dBFS"));
    m_triggerSilence = new QSpinBox;
    m_triggerSilence->setObjectName(QStringLiteral("triggerSilence"));
    m_triggerSilence->setRange(1, 60);
    //: the unit after a number of seconds
    m_triggerSilence->setSuffix(tr(" s"));
    m_triggerNewFileBox = new QCheckBox(tr("Each sound in a new file"));
    m_triggerNewFileBox->setObjectName(QStringLiteral("triggerNewFileBox"));
    //: followed by a level in dBFS
    auto *levelLabel = new QLabel(tr("Sound is louder than"));
    levelLabel->setBuddy(m_triggerLevel);
    //: followed by a number of seconds
    auto *silenceLabel = new QLabel(tr("Pause after a quiet of"));
    silenceLabel->setBuddy(m_triggerSilence);
    auto *triggerGrid = new QGridLayout(m_triggerGroup);
    triggerGrid->addWidget(levelLabel, 0, 0);
    triggerGrid->addWidget(m_triggerLevel, 0, 1);
    triggerGrid->addWidget(silenceLabel, 1, 0);
    triggerGrid->addWidget(m_triggerSilence, 1, 1);
    triggerGrid->addWidget(m_triggerNewFileBox, 2, 0, 1, 3);
    triggerGrid->setColumnStretch(2, 1);

    // "In the background": a recording the window no longer shows.
    m_backgroundGroup = new QGroupBox(tr("In the background"));
    m_backgroundGroup->setObjectName(QStringLiteral("backgroundGroup"));
    m_trayBox = new QCheckBox(tr("Keep recording in the tray when the window is closed"));
    m_trayBox->setObjectName(QStringLiteral("trayBox"));
    m_notifyBox = new QCheckBox(tr("Notify me when a recording starts or ends by itself"));
    m_notifyBox->setObjectName(QStringLiteral("notifyBox"));
    auto *backgroundColumn = new QVBoxLayout(m_backgroundGroup);
    backgroundColumn->addWidget(m_trayBox);
    backgroundColumn->addWidget(m_notifyBox);

    // "Global shortcuts": what each does and its keys, as the desktop bound them.
    m_shortcutsGroup = new QGroupBox(tr("Global shortcuts"));
    m_shortcutsGroup->setObjectName(QStringLiteral("shortcutsGroup"));
    auto *shortcutsGrid = new QGridLayout(m_shortcutsGroup);
    const QStringList keyNames{QStringLiteral("recordPauseKeys"), QStringLiteral("stopKeys"),
                               QStringLiteral("addMarkerKeys")};
    for (int row = 0; row < keyNames.size(); ++row) {
        auto *name = new QLabel;
        auto *keys = new QLabel;
        keys->setObjectName(keyNames[row]);
        keys->setTextInteractionFlags(Qt::NoTextInteraction);
        shortcutsGrid->addWidget(name, row, 0);
        shortcutsGrid->addWidget(keys, row, 1);
        m_shortcutNames << name;
        m_shortcutKeys << keys;
    }
    m_changeShortcutsButton = new QPushButton(tr("Change…"));
    m_changeShortcutsButton->setObjectName(QStringLiteral("changeShortcutsButton"));
    m_changeShortcutsButton->setAutoDefault(false);
    shortcutsGrid->addWidget(m_changeShortcutsButton, int(keyNames.size()), 1, Qt::AlignRight);
    m_shortcutsMissing = new QLabel(tr("Global shortcuts are not available on this desktop. The desktop's own keyboard "
                                       "settings can run “tavrin-sound-recorder --remote record”, “--remote stop” or "
                                       "“--remote marker” instead."));
    m_shortcutsMissing->setObjectName(QStringLiteral("shortcutsMissing"));
    m_shortcutsMissing->setWordWrap(true);
    m_shortcutsMissing->setTextInteractionFlags(Qt::TextSelectableByMouse);
    shortcutsGrid->addWidget(m_shortcutsMissing, int(keyNames.size()) + 1, 0, 1, 2);
    shortcutsGrid->setColumnStretch(1, 1);

    enableTimeFields(false);
    enableSplitFields(false);

    // Bottom row.
    m_okButton = new QPushButton(tr("OK"));
    m_okButton->setObjectName(QStringLiteral("okButton"));
    m_cancelButton = new QPushButton(tr("Cancel"));
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    m_okButton->setDefault(true);
    // "In the background" shares the bottom row with them: its check boxes are wider than a
    // column.
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_backgroundGroup);
    buttons->addStretch(1);
    buttons->addWidget(m_okButton, 0, Qt::AlignBottom);
    buttons->addWidget(m_cancelButton, 0, Qt::AlignBottom);

    // Compact margins: the groups and the buttons share the dialog's height.
    for (QGroupBox *group : {m_savePathGroup, m_formatGroup, m_timeLimitGroup, m_splitGroup, m_prerecordGroup,
                             m_triggerGroup, m_deviceGroup, m_backgroundGroup, m_shortcutsGroup}) {
        group->layout()->setContentsMargins(8, 4, 8, 8);
        group->layout()->setSpacing(4);
    }
    for (QGridLayout *grid : {timeGrid, splitGrid}) {
        grid->setHorizontalSpacing(10);
        grid->setVerticalSpacing(1);
    }
    timeGrid->setRowMinimumHeight(0, m_noLimitButton->sizeHint().height() + 3);
    shortcutsGrid->setHorizontalSpacing(12);   // the keys apart from what they do

    // Two columns: where and in which format on the left, when on the right.
    auto *whereColumn = new QVBoxLayout;
    whereColumn->setSpacing(8);
    whereColumn->addWidget(m_savePathGroup);
    whereColumn->addWidget(m_formatGroup);
    whereColumn->addWidget(m_shortcutsGroup);
    whereColumn->addStretch(1);
    auto *whenColumn = new QVBoxLayout;
    whenColumn->setSpacing(8);
    whenColumn->addWidget(m_timeLimitGroup);
    whenColumn->addWidget(m_splitGroup);
    whenColumn->addWidget(m_prerecordGroup);
    whenColumn->addWidget(m_triggerGroup);
    whenColumn->addWidget(m_deviceGroup);
    whenColumn->addStretch(1);
    auto *columns = new QHBoxLayout;
    columns->setSpacing(9);
    columns->addLayout(whereColumn, 1);
    columns->addLayout(whenColumn, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(9, 8, 9, 9);
    layout->setSpacing(8);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    // Keyboard order as the eye reads: the left column top to bottom, then the right column,
    // then OK and Cancel.
    const QList<QWidget *> order{// where and in which format
                                 m_savePath, m_chooseFolderButton, m_mp3Button, m_mp3List, m_wavButton, m_wavList,
                                 m_wmaButton, m_wmaList, m_flacButton, m_flacList, m_flacLevel, m_oggButton,
                                 m_oggList, m_opusButton, m_opusList, m_changeShortcutsButton,
                                 // when
                                 m_noLimitButton, m_stopAfterButton, m_hours, m_minutes, m_seconds, m_splitBox,
                                 m_splitMinutes, m_splitSeconds, m_prerecordBox, m_prerecordSeconds,
                                 m_triggerGroup, m_triggerLevel, m_triggerSilence, m_triggerNewFileBox,
                                 m_resumeBox,
                                 // in the background, beside OK and Cancel
                                 m_trayBox, m_notifyBox,
                                 // the bottom row
                                 m_okButton, m_cancelButton};
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
    onSelect(m_mp3Button, &OptionsDialog::chooseMp3);
    onSelect(m_wavButton, &OptionsDialog::chooseWav);
    onSelect(m_wmaButton, &OptionsDialog::chooseWma);
    onSelect(m_flacButton, &OptionsDialog::chooseFlac);
    onSelect(m_oggButton, &OptionsDialog::chooseOgg);
    onSelect(m_opusButton, &OptionsDialog::chooseOpus);
    onSelect(m_noLimitButton, &OptionsDialog::chooseNoLimit);
    onSelect(m_stopAfterButton, &OptionsDialog::chooseStopAfter);
    connect(m_splitBox, &QCheckBox::toggled, this, [this] { switchSplit(); });
    connect(m_prerecordBox, &QCheckBox::toggled, m_prerecordSeconds, &QWidget::setEnabled);
    connect(m_chooseFolderButton, &QToolButton::clicked, this, [this] { ui::runCommand([this] { chooseFolder(); }); });
    connect(m_okButton, &QPushButton::clicked, this, [this] { ui::runCommand([this] { applyAndClose(); }); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { cancel(); });
    connect(m_changeShortcutsButton, &QPushButton::clicked, this, [this] {
        if (m_shortcuts)
            m_shortcuts->change();
    });
}

void OptionsDialog::enableFormatLists(std::optional<SaveFormat> format)
{
    // Only the chosen format's list can be changed; a format the program does not know
    // leaves every list open.
    const auto open = [&format](SaveFormat f) { return !format || *format == f; };
    m_mp3List->setEnabled(open(SaveFormat::Mp3));
    m_wavList->setEnabled(open(SaveFormat::Wav));
    m_wmaList->setEnabled(open(SaveFormat::Wma));
    m_flacList->setEnabled(open(SaveFormat::Flac));
    m_flacLevel->setEnabled(open(SaveFormat::Flac));
    m_oggList->setEnabled(open(SaveFormat::Vorbis));
    m_opusList->setEnabled(open(SaveFormat::Opus));
}

QRadioButton *OptionsDialog::formatButton(SaveFormat format) const
{
    switch (format) {
    case SaveFormat::Wav:
        return m_wavButton;
    case SaveFormat::Wma:
        return m_wmaButton;
    case SaveFormat::Flac:
        return m_flacButton;
    case SaveFormat::Vorbis:
        return m_oggButton;
    case SaveFormat::Opus:
        return m_opusButton;
    case SaveFormat::Mp3:
        break;
    }
    return m_mp3Button;
}

void OptionsDialog::enableTimeFields(bool on)
{
    m_hours->setEnabled(on);
    m_minutes->setEnabled(on);
    m_seconds->setEnabled(on);
}

void OptionsDialog::enableSplitFields(bool on)
{
    m_splitMinutes->setEnabled(on);
    m_splitSeconds->setEnabled(on);
}

void OptionsDialog::fillFormatLists()
{
    m_mp3List->clear();
    m_mp3List->addItems(mp3Catalogue());

    m_wavList->clear();
    m_wavList->addItems(wavCatalogue());
    m_wavList->setCurrentIndex(15);

    const RecordingSettings &s = m_core.recording().settings();
    // An engine that fails here leaves the WMA list short; the rest of the dialog still works.
    ui::runCommand([this] {
        const int count = m_core.wmaProfileCount();
        m_wmaList->clear();
        for (int number = 1; number <= count; ++number)
            m_wmaList->addItem(m_core.wmaProfileLabel(number));
    });
    selectPosition(m_wmaList, s.wmaProfile);

    m_flacList->clear();
    m_flacList->addItems(flacCatalogue());
    selectPosition(m_flacList, flacPosition(s.flacFrequency, s.flacBitsPerSample, s.flacChannels));
    m_flacLevel->setValue(s.flacLevel);
    m_oggList->clear();
    m_oggList->addItems(vorbisCatalogue());
    selectPosition(m_oggList, std::clamp(s.vorbisQuality, -1, 10) + 1);
    m_opusList->clear();
    m_opusList->addItems(opusCatalogue());
    selectPosition(m_opusList, opusPosition(s.opusBitrate, s.opusChannels));

    enableFormatLists(saveFormatOfExtension(s.saveFormat));
}

void OptionsDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    centreOnOwner(this, parentWidget());
    prepareForShow();
}

void OptionsDialog::prepareForShow()
{
    RecordingSettings s = m_core.recording().settings();

    m_savePath->setText(s.savePath);

    if (const std::optional<SaveFormat> format = saveFormatOfExtension(s.saveFormat))
        formatButton(*format)->setChecked(true);

    m_resumeBox->setChecked(s.resumeAfterDeviceLoss);
    m_prerecordBox->setChecked(s.prerecordSeconds > 0);
    if (s.prerecordSeconds > 0)
        m_prerecordSeconds->setValue(s.prerecordSeconds);
    m_prerecordSeconds->setEnabled(s.prerecordSeconds > 0);
    m_triggerGroup->setChecked(s.triggerOn);
    m_triggerLevel->setValue(s.triggerLevelDb);
    m_triggerSilence->setValue(s.triggerSilenceSeconds);
    m_triggerNewFileBox->setChecked(s.triggerNewFile);
    m_trayBox->setChecked(m_core.settings().closesToTray());
    m_notifyBox->setChecked(m_core.settings().notifies());

    // The stored limit is the one in force from the dialog's showing on.
    s.timeLimitSeconds = m_core.settings().storedTimeLimit();
    m_core.applyRecordingSettings(s);
    if (s.timeLimitSeconds > 0) {
        m_stopAfterButton->setChecked(true);
        m_hours->setText(QString::number(s.timeLimitSeconds / 3600));
        m_minutes->setText(QString::number(s.timeLimitSeconds % 3600 / 60));
        m_seconds->setText(QString::number(s.timeLimitSeconds % 60));
    }

    selectPosition(m_mp3List, m_core.settings().mp3Position());
    selectPosition(m_wavList, m_core.settings().wavPosition());
}

void OptionsDialog::chooseMp3()
{
    enableFormatLists(SaveFormat::Mp3);
}

void OptionsDialog::chooseWav()
{
    enableFormatLists(SaveFormat::Wav);
}

void OptionsDialog::chooseWma()
{
    enableFormatLists(SaveFormat::Wma);
}

void OptionsDialog::chooseFlac()
{
    enableFormatLists(SaveFormat::Flac);
}

void OptionsDialog::chooseOgg()
{
    enableFormatLists(SaveFormat::Vorbis);
}

void OptionsDialog::chooseOpus()
{
    enableFormatLists(SaveFormat::Opus);
}

void OptionsDialog::chooseNoLimit()
{
    enableTimeFields(false);
}

void OptionsDialog::chooseStopAfter()
{
    enableTimeFields(true);
}

void OptionsDialog::switchSplit()
{
    enableSplitFields(m_splitBox->isChecked());
}

void OptionsDialog::chooseFolder()
{
    QString folder = ui::getExistingDirectory(this, tr("Select a directory to save output files"));
    if (folder.isEmpty())
        return;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    m_savePath->setText(folder);
    // The chosen folder is in force at once, even when the dialog is cancelled afterwards.
    RecordingSettings s = m_core.recording().settings();
    s.savePath = folder;
    m_core.applyRecordingSettings(s);
}

void OptionsDialog::applyAndClose()
{
    RecordingSettings s = m_core.recording().settings();
    try {
        takeOverFields(s);
    } catch (...) {
        // A field that does not convert ends OK there; what was taken over before stays taken.
        m_core.applyRecordingSettings(s);
        throw;
    }
    m_core.storeRecordingSettings(s, m_mp3List->currentIndex(), m_wavList->currentIndex());
    m_core.settings().storeClosesToTray(m_trayBox->isChecked());
    m_core.settings().storeNotifies(m_notifyBox->isChecked());
    accept();
}

void OptionsDialog::takeOverFields(RecordingSettings &s)
{
    s.savePath = absoluteSaveFolder(m_savePath->text());

    if (m_mp3Button->isChecked()) {
        s.saveFormat = traitsOf(SaveFormat::Mp3).extension;
        const Mp3Preset mp3 = mp3PresetFromIndex(m_mp3List->currentIndex());
        s.mp3Frequency = mp3.frequency;
        s.mp3Bitrate = mp3.bitrate;
    } else if (m_wavButton->isChecked()) {
        s.saveFormat = traitsOf(SaveFormat::Wav).extension;
        const WavPreset wav = wavPresetFromIndex(m_wavList->currentIndex(), {s.wavFrequency, s.wavChannels, s.wavBitsPerSample});
        s.wavFrequency = wav.frequency;
        s.wavChannels = wav.channels;
        s.wavBitsPerSample = wav.bitsPerSample;
    } else if (m_wmaButton->isChecked()) {
        s.saveFormat = traitsOf(SaveFormat::Wma).extension;
        s.wmaProfile = m_wmaList->currentIndex();
    } else if (m_flacButton->isChecked()) {
        s.saveFormat = traitsOf(SaveFormat::Flac).extension;
        const WavPreset flac = flacPresetFromIndex(m_flacList->currentIndex());
        s.flacFrequency = flac.frequency;
        s.flacChannels = flac.channels;
        s.flacBitsPerSample = flac.bitsPerSample;
        s.flacLevel = m_flacLevel->value();
    } else if (m_oggButton->isChecked()) {
        s.saveFormat = traitsOf(SaveFormat::Vorbis).extension;
        s.vorbisQuality = m_oggList->currentIndex() >= 0 ? m_oggList->currentIndex() - 1 : 5;
    } else if (m_opusButton->isChecked()) {
        s.saveFormat = traitsOf(SaveFormat::Opus).extension;
        const OpusPreset opus = opusPresetFromIndex(m_opusList->currentIndex());
        s.opusBitrate = opus.kbps;
        s.opusChannels = opus.channels;
    }

    if (m_stopAfterButton->isChecked()) {
        const int hours = toInteger(m_hours->text());
        const int minutes = toInteger(m_minutes->text());
        const int seconds = toInteger(m_seconds->text());
        s.timeLimitSeconds = wrapToInt(qint64(hours) * 3600 + qint64(minutes) * 60 + seconds);
    } else {
        s.timeLimitSeconds = -1;
    }

    s.resumeAfterDeviceLoss = m_resumeBox->isChecked();
    s.prerecordSeconds = m_prerecordBox->isChecked() ? m_prerecordSeconds->value() : 0;
    s.triggerOn = m_triggerGroup->isChecked();
    s.triggerLevelDb = m_triggerLevel->value();
    s.triggerSilenceSeconds = m_triggerSilence->value();
    s.triggerNewFile = m_triggerNewFileBox->isChecked();

    if (m_splitBox->isChecked()) {
        const int minutes = toInteger(m_splitMinutes->text());
        const int seconds = toInteger(m_splitSeconds->text());
        s.splitEnabled = true;
        s.splitSeconds = wrapToInt(qint64(minutes) * 60 + seconds);
    } else {
        s.splitEnabled = false;
    }
}

void OptionsDialog::cancel()
{
    reject();
}
