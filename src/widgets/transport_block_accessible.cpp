// The transport block for assistive technology: a tool bar of buttons, a dial and the state
// display, none of them a widget of its own.
#include "widgets/transport_block_access.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLocale>
#include <QPointer>

#include <array>

namespace {

// One part of the block: a transport or mute button, the volume knob, or the state display.
// Not a widget of its own: the block's interface registers it with Qt once, hands out the
// same one each time and has it deleted when the block goes.
class TransportPartAccessible : public QAccessibleInterface,
                                public QAccessibleActionInterface,
                                public QAccessibleValueInterface {
public:
    TransportPartAccessible(TransportBlock *block, int index) : m_block(block), m_index(index) {}

    bool isValid() const override { return !m_block.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        const QAccessibleInterface *p = parent();
        return p ? p->window() : nullptr;
    }

    QAccessibleInterface *parent() const override
    {
        return m_block ? QAccessible::queryAccessibleInterface(m_block.data()) : nullptr;
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!m_block)
            return {};
        if (t == QAccessible::Name) {
            switch (m_index) {
            case int(TransportBlock::Part::Play): return TransportBlock::tr("Play");
            case int(TransportBlock::Part::Pause): return TransportBlock::tr("Pause");
            case int(TransportBlock::Part::Stop): return TransportBlock::tr("Stop");
            case int(TransportBlock::Part::Record): return TransportBlock::tr("Record");
            case KnobChild: return TransportBlock::tr("Volume");
            case MuteChild: return TransportBlock::tr("Mute");
            case DisplayChild: return TransportBlockAccess::stateText(m_block->state());
            default: return {};
            }
        }
        if (t == QAccessible::Value && m_index == KnobChild)
            return m_block->locale().toString(m_block->volume());
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!m_block)
            return {};
        const QRect r = m_index == DisplayChild ? TransportBlockAccess::displayRect(*m_block) : m_block->partRect(part());
        if (r.isEmpty())
            return {};
        return QRect(m_block->mapToGlobal(r.topLeft()), r.size());
    }

    QAccessible::Role role() const override
    {
        if (m_index == KnobChild)
            return QAccessible::Dial;
        if (m_index == DisplayChild)
            return QAccessible::StaticText;
        return QAccessible::Button;
    }

    QAccessible::State state() const override
    {
        QAccessible::State st;
        if (!m_block) {
            st.invalid = true;
            return st;
        }
        st.disabled = !m_block->isEnabled();
        st.invisible = !m_block->isVisible();
        if (m_index == DisplayChild) {
            st.readOnly = true;
            if (TransportBlockAccess::displayRect(*m_block).isEmpty())
                st.invisible = true;   // no room for it at this width
            return st;
        }
        const TransportBlock::Part p = part();
        st.focusable = true;
        st.focused = m_block->hasFocus() && m_block->focusedPart() == p;
        if (isButton(p)) {
            st.checkable = true;
            st.checked = p == TransportBlock::Part::Mute ? m_block->mute() : latchedIn(p, m_block->state());
            st.pressed = m_block->isEnabled() && TransportBlockAccess::isDown(*m_block, p);
        }
        return st;
    }

    void *interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ActionInterface && m_index != DisplayChild)
            return static_cast<QAccessibleActionInterface *>(this);
        if (t == QAccessible::ValueInterface && m_index == KnobChild)
            return static_cast<QAccessibleValueInterface *>(this);
        return nullptr;
    }

    // Buttons are pressed as a click presses them; the knob turns a step at a time.
    QStringList actionNames() const override
    {
        if (m_index == KnobChild)
            return {increaseAction(), decreaseAction()};
        return {pressAction()};
    }
    void doAction(const QString &name) override
    {
        if (!m_block || !m_block->isEnabled())
            return;   // a disabled block ignores the mouse too
        if (m_index == KnobChild) {
            if (name == increaseAction())
                TransportBlockAccess::turnKnob(*m_block, m_block->volume() + 1);
            else if (name == decreaseAction())
                TransportBlockAccess::turnKnob(*m_block, m_block->volume() - 1);
        } else if (name == pressAction()) {
            TransportBlockAccess::click(*m_block, part());
        }
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

    QVariant currentValue() const override { return m_block ? m_block->volume() : 0; }
    void setCurrentValue(const QVariant &value) override
    {
        bool ok = false;
        const double v = value.toDouble(&ok);
        if (m_block && m_block->isEnabled() && ok && std::isfinite(v))
            TransportBlockAccess::turnKnob(*m_block, int(std::lround(std::clamp(v, 0.0, 100.0))));
    }
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TransportBlock::Part part() const { return TransportBlock::Part(m_index); }

    QPointer<TransportBlock> m_block;
    int m_index;
};

// The block as a whole: a tool bar named "Transport" holding its parts.
class TransportBlockAccessible : public QAccessibleWidget {
public:
    explicit TransportBlockAccessible(TransportBlock *block) : QAccessibleWidget(block, QAccessible::ToolBar)
    {
        for (int i = 0; i < ChildCount; ++i)
            m_children[size_t(i)] = QAccessible::registerAccessibleInterface(new TransportPartAccessible(block, i));
    }
    ~TransportBlockAccessible() override
    {
        for (const QAccessible::Id id : m_children)
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return TransportBlock::tr("Transport");
        return QAccessibleWidget::text(t);
    }

    int childCount() const override { return ChildCount; }
    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= ChildCount)
            return nullptr;
        return QAccessible::accessibleInterface(m_children[size_t(index)]);
    }
    int indexOfChild(const QAccessibleInterface *iface) const override
    {
        for (int i = 0; i < ChildCount; ++i) {
            if (iface && QAccessible::accessibleInterface(m_children[size_t(i)]) == iface)
                return i;
        }
        return -1;
    }
    QAccessibleInterface *childAt(int x, int y) const override
    {
        const TransportBlock *b = block();
        const QPoint pos = b->mapFromGlobal(QPoint(x, y));
        const TransportBlock::Part part = b->partAt(pos);
        if (part != TransportBlock::Part::None)
            return child(int(part));
        if (TransportBlockAccess::displayRect(*b).contains(pos))
            return child(DisplayChild);
        return nullptr;
    }
    QAccessibleInterface *focusChild() const override
    {
        if (block()->hasFocus())
            return child(int(block()->focusedPart()));
        return QAccessibleWidget::focusChild();
    }

private:
    TransportBlock *block() const { return static_cast<TransportBlock *>(widget()); }

    std::array<QAccessible::Id, ChildCount> m_children{};
};

}  // namespace

QAccessibleInterface *transportBlockAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(TransportBlock::staticMetaObject.className()))
        if (auto *block = qobject_cast<TransportBlock *>(object))
            return new TransportBlockAccessible(block);
    return nullptr;
}
