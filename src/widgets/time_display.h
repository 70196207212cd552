// The elapsed-time display: hours, minutes, seconds and milliseconds in digital figures.
#pragma once

#include <QWidget>

class TimeDisplay : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int hours READ hours WRITE setHours)
    Q_PROPERTY(int minutes READ minutes WRITE setMinutes)
    Q_PROPERTY(int seconds READ seconds WRITE setSeconds)
    Q_PROPERTY(qint64 milliseconds READ milliseconds WRITE setMilliseconds)

public:
    explicit TimeDisplay(QWidget *parent = nullptr);

    int hours() const { return m_hours; }               // 0..999
    int minutes() const { return m_minutes; }           // 0..59
    int seconds() const { return m_seconds; }           // 0..59
    int milliseconds() const { return m_milliseconds; } // 0..999

    // Each sets its own field only, clamped to the field's range.
    void setHours(int hours);
    void setMinutes(int minutes);
    void setSeconds(int seconds);
    // A total in milliseconds (negative counts as 0): every field is recomputed from it,
    // whole hours, remaining minutes and seconds, and the remaining 0..999 milliseconds.
    void setMilliseconds(qint64 ms);

    // The shown text, "HH:MM:SS.mmm" (three hour digits from 100 hours on).
    QString text() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void setFields(int h, int m, int s, int ms);

    int m_hours = 0;
    int m_minutes = 0;
    int m_seconds = 0;
    int m_milliseconds = 0;
};
