// The program's command line, in Qt's conventions: -h/--help, -v/--version and one file to
// open at start-up. Qt's own options (-platform, -style, ...) are taken by QApplication
// before these are read.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class MainWindow;

struct CommandLine {
    QString fileToOpen;           // absolute path of the file named; "" when none
    std::optional<int> exitCode;  // set: print `message` and end at once (--help, --version, a mistake)
    QString message;              // for stdout when exitCode is 0, else for stderr
};

// Reads the arguments as QCoreApplication::arguments() gives them, the program first.
CommandLine readCommandLine(const QStringList &arguments);

// Opens the file named on the command line as File / Open does (shown and listed); a file
// that cannot be opened is reported in the error box and the window goes on.
void openFromCommandLine(MainWindow &window, const QString &path);
