// "Schedule Recording...": when a recording starts by itself (today or tomorrow) and, if
// wanted, how long it lasts. Nothing of it is stored: a schedule lives until it starts, Stop
// or Record cancels it, or the program ends.
#pragma once

#include <QDateTime>
#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QTimeEdit;
class QTimer;

class ScheduleDialog : public QDialog {
    Q_OBJECT

public:
    using Clock = std::function<QDateTime()>;
    // clock: the wall clock the recording session also follows.
    explicit ScheduleDialog(Clock clock, QWidget *parent = nullptr);

    // The chosen start; invalid when it has passed.
    QDateTime startAt() const;
    // The recording's length in seconds; 0 when it is not limited.
    int lengthSeconds() const;

private:
    void followTime();   // the day follows the time: today while it is still ahead
    void showStartsIn();

    Clock m_clock;
    QTimeEdit *m_startTime;
    QComboBox *m_dayList;      // "Today", "Tomorrow"
    QCheckBox *m_lengthBox;    // "Stop after"
    QTimeEdit *m_length;
    QLabel *m_startsIn;
    QDialogButtonBox *m_buttons;
    QTimer *m_refresh;
};
