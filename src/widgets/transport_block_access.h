// What the transport block and its accessibility interfaces (transport_block_accessible.cpp)
// share: the parts' kinds, the children assistive technology sees, and what the interfaces
// may reach inside the block. Internal to the two.
#pragma once

#include "widgets/transport_block.h"

#include <QRect>
#include <QString>

class QAccessibleInterface;
class QObject;

inline bool isButton(TransportBlock::Part part)
{
    return part != TransportBlock::Part::None && part != TransportBlock::Part::Knob;
}

// Whether a transport button sits lit or pressed in while the block shows this state:
// play while playing, pause while paused, record while recording, stop while stopped.
inline bool latchedIn(TransportBlock::Part part, TransportBlock::State state)
{
    using Part = TransportBlock::Part;
    using State = TransportBlock::State;
    switch (part) {
    case Part::Play: return state == State::Playing;
    case Part::Pause: return state == State::Paused;
    case Part::Stop: return state == State::Stopped;
    case Part::Record: return state == State::Recording;
    default: return false;
    }
}

// The block's children for assistive technology: one per part in keyboard order (their
// index is the Part's value), then the state display.
inline constexpr int KnobChild = int(TransportBlock::Part::Knob);
inline constexpr int MuteChild = int(TransportBlock::Part::Mute);
inline constexpr int DisplayChild = MuteChild + 1;
inline constexpr int ChildCount = DisplayChild + 1;

// What the accessibility interfaces may reach inside the block.
struct TransportBlockAccess {
    using Part = TransportBlock::Part;
    static void click(TransportBlock &b, Part part) { b.activate(part); }
    static void turnKnob(TransportBlock &b, int volume) { b.userSetVolume(volume); }
    static bool isDown(const TransportBlock &b, Part part) { return b.m_pressPart == part && b.m_hoverPart == part; }
    static QRect displayRect(const TransportBlock &b) { return b.layout().display; }
    static QString stateText(TransportBlock::State state)
    {
        // The same words the state display paints.
        switch (state) {
        case TransportBlock::State::Playing: return TransportBlock::tr("PLAYING");
        case TransportBlock::State::Paused: return TransportBlock::tr("PAUSED");
        case TransportBlock::State::Recording: return TransportBlock::tr("RECORDING");
        case TransportBlock::State::Stopped: break;
        }
        return TransportBlock::tr("STOPPED");
    }
};

// Makes the block's interface for assistive technology; the block's constructor installs it.
QAccessibleInterface *transportBlockAccessible(const QString &className, QObject *object);
