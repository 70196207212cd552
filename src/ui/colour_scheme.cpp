#include "ui/colour_scheme.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

namespace ui {

namespace {

// The portal answers Read with a variant that holds a variant (version 1 of the interface).
int colourSchemePreference()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return 0;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    call << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme");
    const QDBusMessage reply = bus.call(call, QDBus::Block, 500);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    QVariant value = reply.arguments().constFirst();
    while (value.canConvert<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value.toInt();   // 0 no preference, 1 prefer dark, 2 prefer light
}

}  // namespace

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x2b, 0x2b, 0x2b), base(0x1e, 0x1e, 0x1e), text(0xe6, 0xe6, 0xe6);
    const QColor button(0x35, 0x35, 0x35), highlight(0x3d, 0x8e, 0xe6);
    const QColor disabledText(0x80, 0x80, 0x80);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, off ? disabledText : text);
        p.setColor(group, QPalette::Base, off ? window : base);
        p.setColor(group, QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
        p.setColor(group, QPalette::Text, off ? disabledText : text);
        p.setColor(group, QPalette::PlaceholderText, QColor(0x9a, 0x9a, 0x9a));
        p.setColor(group, QPalette::Button, button);
        p.setColor(group, QPalette::ButtonText, off ? disabledText : text);
        p.setColor(group, QPalette::BrightText, Qt::white);
        p.setColor(group, QPalette::Light, QColor(0x4a, 0x4a, 0x4a));
        p.setColor(group, QPalette::Midlight, QColor(0x3e, 0x3e, 0x3e));
        p.setColor(group, QPalette::Mid, QColor(0x60, 0x60, 0x60));
        p.setColor(group, QPalette::Dark, QColor(0x18, 0x18, 0x18));
        p.setColor(group, QPalette::Shadow, Qt::black);
        p.setColor(group, QPalette::Highlight, off ? QColor(0x4a, 0x4a, 0x4a) : highlight);
        p.setColor(group, QPalette::HighlightedText, Qt::white);
        p.setColor(group, QPalette::Link, QColor(0x6c, 0xb4, 0xff));
        p.setColor(group, QPalette::LinkVisited, QColor(0xb4, 0x96, 0xff));
        p.setColor(group, QPalette::ToolTipBase, QColor(0x35, 0x35, 0x35));
        p.setColor(group, QPalette::ToolTipText, text);
    }
    return p;
}

void followDesktopColourScheme()
{
    if (colourSchemePreference() == 1 && !isDark(QApplication::palette()))
        QApplication::setPalette(darkPalette());
}

}  // namespace ui
