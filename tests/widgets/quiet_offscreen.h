// The offscreen platform warns about every popup and tooltip it cannot raise; those
// warnings say nothing about the code under test, so the controls' tests drop them.
#pragma once

#include <QtGlobal>
#include <QString>

namespace quiet {

inline QtMessageHandler &previousHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    if (previousHandler())
        previousHandler()(type, context, text);
}

inline void install() { previousHandler() = qInstallMessageHandler(dropPlatformNoise); }

}  // namespace quiet
