#include "session/program_settings.h"

#include "session/ini_file.h"

#include <algorithm>

namespace {

const QString kOptions = QStringLiteral("options");
const QString kMix = QStringLiteral("mix");
const QString kTips = QStringLiteral("tips");

}  // namespace

ProgramSettings::ProgramSettings(QString path, QString defaultSavePath)
    : m_path(std::move(path)), m_defaultSavePath(std::move(defaultSavePath))
{
}

RecordingSettings ProgramSettings::recording() const
{
    return loadRecordingSettings(IniFile(m_path), m_defaultSavePath);
}

void ProgramSettings::storeRecording(const RecordingSettings &settings, int mp3Position, int wavPosition)
{
    IniFile ini(m_path);
    saveRecordingSettings(ini, settings, mp3Position, wavPosition);
}

int ProgramSettings::storedTimeLimit() const
{
    return IniFile(m_path).readInteger(kOptions, QStringLiteral("timelimit"), -1);
}

int ProgramSettings::mp3Position() const
{
    return IniFile(m_path).readInteger(QStringLiteral("mp3"), QStringLiteral("ind"), 5);
}

int ProgramSettings::wavPosition() const
{
    return IniFile(m_path).readInteger(QStringLiteral("wav"), QStringLiteral("ind"), 15);
}

ProgramSettings::MixLevels ProgramSettings::mixLevels() const
{
    const IniFile ini(m_path);
    return {std::clamp(ini.readInteger(kMix, QStringLiteral("mic"), 100), 0, 100),
            std::clamp(ini.readInteger(kMix, QStringLiteral("system"), 100), 0, 100)};
}

void ProgramSettings::storeMixLevels(const MixLevels &levels)
{
    IniFile ini(m_path);
    const MixLevels stored{ini.readInteger(kMix, QStringLiteral("mic"), 100),
                           ini.readInteger(kMix, QStringLiteral("system"), 100)};
    if (stored == levels)
        return;
    ini.write({{kMix, QStringLiteral("mic"), levels.microphone}, {kMix, QStringLiteral("system"), levels.computer}});
}

bool ProgramSettings::monitoring() const
{
    return IniFile(m_path).readInteger(QStringLiteral("monitor"), QStringLiteral("on"), 0) == 1;
}

void ProgramSettings::storeMonitoring(bool on)
{
    if (monitoring() == on)
        return;
    IniFile ini(m_path);
    ini.write({{QStringLiteral("monitor"), QStringLiteral("on"), on ? 1 : 0}});
}

void ProgramSettings::storeSeparateSides(bool on)
{
    IniFile ini(m_path);
    if ((ini.readInteger(QStringLiteral("mix"), QStringLiteral("separate"), 0) == 1) == on)
        return;
    ini.write({{QStringLiteral("mix"), QStringLiteral("separate"), on ? 1 : 0}});
}

namespace {

bool readSwitch(const QString &path, const QString &key)
{
    return IniFile(path).readInteger(QStringLiteral("options"), key, 1) != 0;
}

void storeSwitch(const QString &path, const QString &key, bool on)
{
    if (readSwitch(path, key) == on)
        return;
    IniFile ini(path);
    ini.write({{QStringLiteral("options"), key, on ? 1 : 0}});
}

}  // namespace

bool ProgramSettings::closesToTray() const
{
    return readSwitch(m_path, QStringLiteral("tray"));
}

void ProgramSettings::storeClosesToTray(bool on)
{
    storeSwitch(m_path, QStringLiteral("tray"), on);
}

bool ProgramSettings::notifies() const
{
    return readSwitch(m_path, QStringLiteral("notify"));
}

void ProgramSettings::storeNotifies(bool on)
{
    storeSwitch(m_path, QStringLiteral("notify"), on);
}

bool ProgramSettings::showsTips() const
{
    return IniFile(m_path).readInteger(kTips, QStringLiteral("showtip"), 1) == 1;
}

int ProgramSettings::tipNumber() const
{
    return IniFile(m_path).readInteger(kTips, QStringLiteral("tipno"), 1);
}

void ProgramSettings::storeTips(int tipNumber, bool showAtStartUp)
{
    IniFile ini(m_path);
    ini.write({{kTips, QStringLiteral("tipno"), tipNumber}, {kTips, QStringLiteral("showtip"), showAtStartUp ? 1 : 0}});
}
