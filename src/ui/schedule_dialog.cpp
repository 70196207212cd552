#include "ui/schedule_dialog.h"

#include "session/format_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

ScheduleDialog::ScheduleDialog(Clock clock, QWidget *parent) : QDialog(parent), m_clock(std::move(clock))
{
    setObjectName(QStringLiteral("scheduleDialog"));
    setWindowTitle(tr("Schedule Recording"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    m_startTime = new QTimeEdit;
    m_startTime->setObjectName(QStringLiteral("startTime"));
    m_startTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_dayList = new QComboBox;
    m_dayList->setObjectName(QStringLiteral("dayList"));
    m_dayList->addItems({tr("Today"), tr("Tomorrow")});
    m_dayList->setAccessibleName(tr("Start day"));
    auto *startRow = new QHBoxLayout;
    startRow->addWidget(m_startTime);
    startRow->addWidget(m_dayList);
    startRow->addStretch(1);

    m_lengthBox = new QCheckBox(tr("Stop after"));
    m_lengthBox->setObjectName(QStringLiteral("lengthBox"));
    m_length = new QTimeEdit(QTime(1, 0));
    m_length->setObjectName(QStringLiteral("length"));
    m_length->setDisplayFormat(QStringLiteral("H:mm:ss"));
    m_length->setMinimumTime(QTime(0, 0, 1));
    m_length->setEnabled(false);
    m_length->setToolTip(tr("Hours, minutes and seconds; this recording only"));
    m_length->setAccessibleName(tr("Recording length"));
    m_length->setAccessibleDescription(m_length->toolTip());
    auto *lengthRow = new QHBoxLayout;
    lengthRow->addWidget(m_lengthBox);
    lengthRow->addWidget(m_length);
    lengthRow->addStretch(1);

    m_startsIn = new QLabel;
    m_startsIn->setObjectName(QStringLiteral("startsIn"));

    // The row's caption names the time field beside it.
    auto *startLabel = new QLabel(tr("Start at"));
    startLabel->setBuddy(m_startTime);
    auto *form = new QFormLayout;
    form->addRow(startLabel, startRow);
    form->addRow(QString(), lengthRow);
    form->addRow(QString(), m_startsIn);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // The next full hour is offered first.
    const QDateTime now = m_clock();
    m_startTime->setTime(QTime(now.time().hour(), 0).addSecs(3600));
    followTime();
    connect(m_startTime, &QTimeEdit::timeChanged, this, [this] { followTime(); });
    connect(m_dayList, &QComboBox::currentIndexChanged, this, [this] { showStartsIn(); });
    connect(m_lengthBox, &QCheckBox::toggled, m_length, &QWidget::setEnabled);
    // What "starts in" says goes on with the clock while the dialog is open.
    m_refresh = new QTimer(this);
    m_refresh->setInterval(1000);
    connect(m_refresh, &QTimer::timeout, this, [this] { showStartsIn(); });
    m_refresh->start();
}

void ScheduleDialog::followTime()
{
    const QDateTime now = m_clock();
    m_dayList->setCurrentIndex(QDateTime(now.date(), m_startTime->time()) > now ? 0 : 1);
    showStartsIn();
}

QDateTime ScheduleDialog::startAt() const
{
    const QDateTime now = m_clock();
    const QDateTime at(now.date().addDays(m_dayList->currentIndex()), m_startTime->time());
    return at > now ? at : QDateTime();
}

int ScheduleDialog::lengthSeconds() const
{
    return m_lengthBox->isChecked() ? QTime(0, 0).secsTo(m_length->time()) : 0;
}

void ScheduleDialog::showStartsIn()
{
    const QDateTime at = startAt();
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(at.isValid());
    if (!at.isValid()) {
        m_startsIn->setText(tr("That time has passed today."));
        return;
    }
    //: %1 is how long until the recording starts, such as "1 h 5 min"
    m_startsIn->setText(tr("Starts in %1.").arg(durationText(m_clock().secsTo(at))));
}
