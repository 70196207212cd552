// The elapsed-time display: hours, minutes, seconds and milliseconds in digital figures.
#pragma once

#include "widgets/accessible_notice.h"

#include <QColor>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QRectF>
#include <QTimer>
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
    void changeEvent(QEvent *event) override;

private:
    // Where the figures and the dots stand for a size and a number of hour digits.
    struct Layout {
        QList<QRectF> figures;   // left to right, the milliseconds' smaller ones last
        QList<QRectF> dots;
        double base = 0;         // the figures' baseline
    };
    struct Figure {
        QPoint origin;
        QPixmap pixmap;
    };
    Layout layout(int hourDigits) const;
    static QTransform lean(double base);
    // The panel and the dots, drawn once per size, look and number of hour digits.
    void prepareFace(int hourDigits);
    const Figure &figure(int cell, int digit);
    void setFields(int h, int m, int s, int ms);
    // Tells assistive technology the text shown, if it changed since it was told last.
    void sendAccessibleText();

    Layout m_layout;
    QPixmap m_face;
    QSize m_faceSize;
    bool m_faceEnabled = true;
    int m_faceHourDigits = -1;
    QColor m_on, m_off;
    QHash<int, Figure> m_figureCache;

    int m_hours = 0;
    int m_minutes = 0;
    int m_seconds = 0;
    int m_milliseconds = 0;

    QString m_accessibleText;          // the text assistive technology was told last
    AccessibleNotice m_textNotice{this, [this] { sendAccessibleText(); }};   // at most about four times a second
};
