// Where the program finds its files: its own folder holds tips.txt and the manual; setup.ini
// and the default save folder live there too while that folder is writable.
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
    // The paths for the running executable.
    static AppPaths forApplication();
};
