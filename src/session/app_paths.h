// Where the program finds its files.
//
// tips.txt and the manual lie beside the executable (a build folder) or, for an installed
// program, in <prefix>/share/tavrin-sound-recorder/ next to <prefix>/bin/.
// setup.ini and the default save folder "Recording/" lie beside the executable while the
// program's folder is writable; when it is not (an installed program), setup.ini lives in
// $XDG_CONFIG_HOME/tavrin-sound-recorder/ (default ~/.config/...) and new recordings go to
// the user's music folder (home when there is none) + "/Recording/".
#pragma once

#include <QString>

struct AppPaths {
    QString programDir;       // the executable's folder, ending in "/"
    QString settingsFile;     // setup.ini
    QString tipsFile;         // tips.txt
    QString helpFile;         // tavrinsoundrecorder.html
    QString defaultSavePath;  // ends in "/"

    // Everything beside the program, as when it runs from its build folder.
    static AppPaths besideProgram(const QString &programDir);
    // setup.ini under configDir and the default save folder saveParentDir + "/Recording/";
    // tips.txt and the manual as dataFilesFor finds them.
    static AppPaths outsideProgram(const QString &programDir, const QString &configDir,
                                   const QString &saveParentDir);
    // The rule above for a program in programDir: besideProgram when isWritableFolder, else
    // outsideProgram with the XDG configuration folder and the user's music folder.
    static AppPaths forProgramDir(const QString &programDir);
    // forProgramDir for the running executable, with makeSettingsFolder done.
    static AppPaths forApplication();

    // Makes the folder of setup.ini when it is not the program's own (the settings file is
    // created by its first write, but not its folder). A failure is left to that write,
    // which then reports "Unable to write to ...".
    void makeSettingsFolder() const;

    // True when a file can be created in dir: checked by creating and removing one, since
    // access(2) answers yes for root even where nothing can be created (/proc, /sys).
    static bool isWritableFolder(const QString &dir);
    // The folder that holds setup.ini for an installed program.
    static QString userConfigDir();
    // The parent of an installed program's default save folder.
    static QString userMusicDir();

private:
    // tips.txt and the manual: beside the program when they are there, else in the shared
    // data folder when they are there, else beside the program.
    void findDataFiles();
};
