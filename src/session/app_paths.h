// Where the program finds its files.
//
// tips.txt and the manual lie beside the executable (a build folder) or, for an installed
// program, in <prefix>/share/tavrin-sound-recorder/ next to <prefix>/bin/.
// An installed program is told by its layout: the executable in a folder named "bin" with
// ../share/tavrin-sound-recorder/ beside it. Its setup.ini lives in
// $XDG_CONFIG_HOME/tavrin-sound-recorder/ (default ~/.config/...) and new recordings go to
// the user's music folder (home when there is none) + "/Recording/". Any other program (a
// build folder, a portable copy) keeps setup.ini and "Recording/" beside the executable.
#pragma once

#include <QString>

struct AppPaths {
    QString programDir;       // the executable's folder, ending in "/"
    QString settingsFile;     // setup.ini
    QString tipsFile;         // tips.txt, or tips_<language>.txt for the user's language
    QString translationsDir;  // the program's catalogues, ending in "/"
    QString helpFile;         // tavrinsoundrecorder.html
    QString defaultSavePath;  // ends in "/"

    // Everything beside the program, as when it runs from its build folder.
    static AppPaths besideProgram(const QString &programDir);
    // setup.ini under configDir and the default save folder saveParentDir + "/Recording/";
    // tips.txt and the manual as dataFilesFor finds them.
    static AppPaths outsideProgram(const QString &programDir, const QString &configDir,
                                   const QString &saveParentDir);
    // The rule above for a program in programDir: outsideProgram with the XDG configuration
    // folder and the user's music folder when isInstalledLayout, else besideProgram.
    static AppPaths forProgramDir(const QString &programDir);
    // forProgramDir for the running executable, with makeSettingsFolder done.
    static AppPaths forApplication();

    // Makes the folder of setup.ini when it is not the program's own (the settings file is
    // created by its first write, but not its folder). A failure is left to that write,
    // which then reports "Unable to write to ...".
    void makeSettingsFolder() const;

    // True when programDir is named "bin" and the install's data folder
    // (../share/tavrin-sound-recorder/) is beside it. Whether the folder can be written does
    // not matter: root can write to /usr/bin, and an installed program still counts.
    static bool isInstalledLayout(const QString &programDir);
    // The folder that holds setup.ini for an installed program.
    static QString userConfigDir();
    // The parent of an installed program's default save folder.
    static QString userMusicDir();

private:
    // tips.txt, the catalogues and the manual: beside the program when they are there, else
    // in the shared data folder when they are there, else beside the program. The tips are
    // the user's language's (tips_de.txt) where there is such a file.
    void findDataFiles();
};
