#include "widgets/accessible_notice.h"

#include <QAccessible>

AccessibleNotice::AccessibleNotice(QObject *owner, std::function<void()> tell) : m_tell(std::move(tell))
{
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, owner, [this] { tellNow(); });
}

void AccessibleNotice::changed()
{
    if (!QAccessible::isActive() || m_timer.isActive())
        return;   // nobody listens, or the notice on its way takes the newest value
    const qint64 since = m_last.isValid() ? m_last.elapsed() : IntervalMs;
    if (since >= IntervalMs)
        tellNow();
    else
        m_timer.start(int(IntervalMs - since));
}

void AccessibleNotice::tellNow()
{
    m_last.start();
    if (QAccessible::isActive())
        m_tell();
}
