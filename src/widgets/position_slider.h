// The position slider of the transport panel.
#pragma once

#include "widgets/accessible_notice.h"

#include <QColor>
#include <QElapsedTimer>
#include <QList>
#include <QPalette>
#include <QWidget>

class QTimer;

class PositionSlider : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QColor stripColor READ stripColor WRITE setStripColor)

public:
    explicit PositionSlider(QWidget *parent = nullptr);

    int value() const { return m_value; }   // 0..1000, per mille of the track
    void setValue(int value);               // clamped to 0..1000; valueChanged when it changes
    // Moves the slider as the user's drag does: pressed, the new value (valueChanged, moved),
    // released; inside a move the user already holds by a key, only the value. Ignored while the
    // slider is disabled or held by the mouse. Assistive technology sets the position this way.
    void moveTo(int value);
    QColor stripColor() const { return m_stripColor; }   // colour of the groove strip
    // A colour of the palette (Base, Mid, Window, AlternateBase) follows the palette when it
    // changes; any other colour stays as set.
    void setStripColor(const QColor &c);
    // Ticks under the groove at these values (0..1000): the markers of the file shown.
    void setMarks(const QList<int> &values);
    const QList<int> &marks() const { return m_marks; }

    // Steps of a keyboard move: arrows move by SingleStep, PageUp/PageDown by PageStep.
    static constexpr int Minimum = 0;
    static constexpr int Maximum = 1000;
    static constexpr int SingleStep = 10;
    static constexpr int PageStep = 100;

    bool isDragging() const { return m_grab != Grab::None; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void pressed();                // the user grabs the slider
    void released();               // the user lets it go
    void moved(int value);         // the user changed the value (after valueChanged)
    void valueChanged(int value);  // the value changed, by the user or by setValue

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    enum class Grab { None, Mouse, Key };

    QRect grooveRect() const;
    QRect thumbRect() const;
    int valueAt(int x) const;
    bool changeValue(int value);   // true when the value changed
    void userSetValue(int value);
    void endGrab();
    void noteValueChange();   // tells assistive technology, at most about four times a second
    void sendValueNotice();

    int m_value = 0;
    QColor m_stripColor;
    QPalette::ColorRole m_stripRole = QPalette::Mid;   // NoRole: a colour from outside the palette
    QList<int> m_marks;
    Grab m_grab = Grab::None;
    int m_grabKey = 0;
    bool m_hover = false;
    AccessibleNotice m_valueNotice{this, [this] { sendValueNotice(); }};
};
