#include "session/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

// Where the install puts tips.txt and the manual, relative to the executable's folder.
#ifndef TAVRIN_DATA_FROM_BIN
#define TAVRIN_DATA_FROM_BIN "../share/tavrin-sound-recorder"
#endif

namespace {

const QString kProgramFolderName = QStringLiteral("tavrin-sound-recorder");

QString withSlash(const QString &dir)
{
    return dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
}

// The install's data folder for a program in programDir, ending in "/".
QString sharedDataDir(const QString &programDir)
{
    return withSlash(QDir::cleanPath(withSlash(programDir) + QStringLiteral(TAVRIN_DATA_FROM_BIN)));
}

}  // namespace

AppPaths AppPaths::besideProgram(const QString &dir)
{
    AppPaths p;
    p.programDir = withSlash(dir);
    p.settingsFile = p.programDir + QStringLiteral("setup.ini");
    p.tipsFile = p.programDir + QStringLiteral("tips.txt");
    p.translationsDir = p.programDir + QStringLiteral("translations/");
    p.helpFile = p.programDir + QStringLiteral("tavrinsoundrecorder.html");
    p.defaultSavePath = p.programDir + QStringLiteral("Recording/");
    return p;
}

AppPaths AppPaths::outsideProgram(const QString &programDir, const QString &configDir,
                                  const QString &saveParentDir)
{
    AppPaths p = besideProgram(programDir);
    p.settingsFile = withSlash(configDir) + QStringLiteral("setup.ini");
    p.defaultSavePath = withSlash(saveParentDir) + QStringLiteral("Recording/");
    p.findDataFiles();
    return p;
}

AppPaths AppPaths::forProgramDir(const QString &programDir)
{
    if (isInstalledLayout(programDir))
        return outsideProgram(programDir, userConfigDir(), userMusicDir());
    AppPaths p = besideProgram(programDir);
    p.findDataFiles();
    return p;
}

AppPaths AppPaths::forApplication()
{
    AppPaths p = forProgramDir(QCoreApplication::applicationDirPath());
    p.makeSettingsFolder();
    return p;
}

void AppPaths::makeSettingsFolder() const
{
    const QString settingsDir = QFileInfo(settingsFile).absolutePath();
    if (settingsDir != QDir(programDir).absolutePath())
        QDir().mkpath(settingsDir);
}

bool AppPaths::isInstalledLayout(const QString &programDir)
{
    const QString dir = QDir::cleanPath(programDir);
    return QFileInfo(dir).fileName() == QLatin1String("bin") && QFileInfo(sharedDataDir(dir)).isDir();
}

QString AppPaths::userConfigDir()
{
    // $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute.
    QString base = QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return withSlash(base) + kProgramFolderName + QLatin1Char('/');
}

QString AppPaths::userMusicDir()
{
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return withSlash(music.isEmpty() ? QDir::homePath() : music);
}

void AppPaths::findDataFiles()
{
    const QString dataDir = sharedDataDir(programDir);
    const auto find = [&](const QString &name) {
        const QString beside = programDir + name;
        if (QFileInfo::exists(beside))
            return beside;
        const QString shared = dataDir + name;
        return QFileInfo::exists(shared) ? shared : beside;
    };
    tipsFile = find(QStringLiteral("tips.txt"));
    // The first of the user's languages that has tips of its own; English is tips.txt.
    for (const QString &language : QLocale::system().uiLanguages()) {
        const QString code = language.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
        if (code == QLatin1String("en") || code == QLatin1String("c"))
            break;
        const QString translated = find(QStringLiteral("tips_%1.txt").arg(code));
        if (QFileInfo::exists(translated)) {
            tipsFile = translated;
            break;
        }
    }
    helpFile = find(QStringLiteral("tavrinsoundrecorder.html"));
    translationsDir = withSlash(find(QStringLiteral("translations")));
}
