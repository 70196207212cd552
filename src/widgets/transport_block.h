// The transport block: play, pause, stop and record buttons, a state display, a volume
// knob and a mute button (knob and mute at the right end).
#pragma once

#include "widgets/accessible_notice.h"

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>

class QTimer;

class TransportBlock : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int volume READ volume WRITE setVolume)
    Q_PROPERTY(bool mute READ mute WRITE setMute)

public:
    enum class State { Stopped, Playing, Paused, Recording };
    Q_ENUM(State)

    // The buttons that clicked names.
    enum class Button { Play, Pause, Stop, Record, Mute };
    Q_ENUM(Button)

    // The parts of the block, in keyboard (Tab / arrow) order.
    enum class Part { None = -1, Play, Pause, Stop, Record, Knob, Mute };
    Q_ENUM(Part)

    explicit TransportBlock(QWidget *parent = nullptr);

    void setVolume(int volume);       // knob, 0..100 (the player's volume); emits nothing
    int volume() const { return m_volume; }

    // What the block shows; only these four change it, never a click.
    void showPlaying();
    void showPaused();
    void showStopped();
    void showRecording();
    State state() const { return m_state; }

    bool mute() const { return m_mute; }   // the mute button's state; toggled by a click on it
    void setMute(bool on);                 // emits nothing

    // Where each part is drawn at the current size (for layout-aware callers and tests).
    QRect partRect(Part part) const;
    Part partAt(const QPoint &pos) const;
    Part focusedPart() const { return m_focusPart; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void clicked(TransportBlock::Button button);   // for Mute, mute() is already toggled
    void volumeChanged(int volume);                // the user moved the knob, 0..100

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    friend struct TransportBlockAccess;   // the accessibility interfaces (transport_block_accessible.cpp)

    struct Layout {
        QRect buttons[4];
        QRect display;   // empty when there is no room for it
        QRect knob;
        QRect mute;
    };
    Layout layout() const;
    void setState(State s);
    void activate(Part part);
    void userSetVolume(int volume);
    void setFocusPart(Part part);   // moves the keyboard mark and tells assistive technology

    // Assistive technology hears of value changes at most about four times a second.
    void noteVolumeChanged();
    void sendVolumeNotice();
    void noteFocusedPart();
    void noteCheckedChange(Part part);

    void paintButton(QPainter &p, Part part, const QRect &r) const;
    void paintSymbol(QPainter &p, Part part, const QRectF &r, const QColor &colour) const;
    void paintDisplay(QPainter &p, const QRect &r) const;
    void paintKnob(QPainter &p, const QRect &r) const;

    State m_state = State::Stopped;
    int m_volume = 100;
    bool m_mute = false;
    Part m_hoverPart = Part::None;
    Part m_pressPart = Part::None;
    Part m_focusPart = Part::Play;
    int m_dragStartY = 0;
    int m_dragStartVolume = 0;
    int m_wheelRemainder = 0;
    AccessibleNotice m_volumeNotice{this, [this] { sendVolumeNotice(); }};
};
