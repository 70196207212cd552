#include "app/app_paths.h"

#include <QCoreApplication>

AppPaths AppPaths::besideProgram(const QString &dir)
{
    AppPaths p;
    p.programDir = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    p.settingsFile = p.programDir + QStringLiteral("setup.ini");
    p.tipsFile = p.programDir + QStringLiteral("tips.txt");
    p.helpFile = p.programDir + QStringLiteral("tavrinsoundrecorder.html");
    p.defaultSavePath = p.programDir + QStringLiteral("Recording/");
    return p;
}

AppPaths AppPaths::forApplication()
{
    return besideProgram(QCoreApplication::applicationDirPath());
}
