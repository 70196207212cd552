// Who the program is to the outside: its command, its version and the names its remote
// control answers to on the session bus.
#pragma once

#include <QString>

// The program's name as people read it; never translated.
inline const QString programName = QStringLiteral("Tavrin Sound Recorder");
// The command as it is typed.
inline const QString commandName = QStringLiteral("tavrin-sound-recorder");
// The program's version, shown in the About box and by --version.
inline const QString versionText = QStringLiteral("v3.1.0");

namespace remote {
inline const QString service = QStringLiteral("org.example.TavrinSoundRecorder");
inline const QString path = QStringLiteral("/org/example/TavrinSoundRecorder");
inline const QString interfaceName = QStringLiteral("org.example.TavrinSoundRecorder.Recorder");
// The error a method answers with when the window refused it; its text is the window's.
inline const QString refusedError = QStringLiteral("org.example.TavrinSoundRecorder.Error.Refused");
}  // namespace remote
