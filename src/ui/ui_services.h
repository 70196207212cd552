// Message boxes, file choosers, the beep and the desktop's open action, in one place so that
// tests can watch and answer them (setHooks) instead of a person.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <exception>
#include <functional>
#include <utility>

class QWidget;

namespace ui {

// The program's title, used as the caption of its boxes.
inline const QString applicationTitle = QStringLiteral("Tavrin Sound Recorder");

enum class BoxKind { Error, Notice, Question };

struct Box {
    BoxKind kind;
    QString caption;
    QString text;
};

struct Hooks {
    // Replaces showing a box; for a question, the answer (true = Yes).
    std::function<bool(const Box &)> box;
    // Replaces the open-file dialog: title and filters in, chosen path out ("" = cancelled).
    std::function<QString(const QString &title, const QStringList &filters)> openFile;
    // Replaces the folder chooser: title in, chosen folder out ("" = cancelled).
    std::function<QString(const QString &title)> chooseFolder;
    // Replaces the desktop's open action.
    std::function<void(const QUrl &)> openUrl;
    // Replaces the beep.
    std::function<void()> beep;
};

// Installs hooks (tests); an empty Hooks restores the real behaviour.
void setHooks(Hooks hooks);

// The text with a full stop added when its last character sorts after ".".
QString withFullStop(const QString &text);

// The application's error box: error icon, OK, the application title as caption.
void errorBox(const QString &text);
// While one lives, error boxes and notices are shown only once the event loop turns again, so
// that a command given from outside is answered first; the error texts are kept for that
// answer. Questions are still asked at once.
class BoxesLater {
public:
    BoxesLater();
    ~BoxesLater();
    BoxesLater(const BoxesLater &) = delete;
    BoxesLater &operator=(const BoxesLater &) = delete;
    // What the error boxes said meanwhile, in order.
    const QStringList &errors() const { return m_errors; }

private:
    friend void errorBox(const QString &text);
    BoxesLater *m_outer;
    QStringList m_errors;
};
// The error box for an exception that ended a command.
void errorBox(const std::exception &error);
// A notice with an OK button, captioned with the application title.
void notice(QWidget *parent, const QString &text);
// "Confirm" box with a question icon and "&Yes" / "&No"; true for Yes.
bool confirm(QWidget *parent, const QString &text);
// A question captioned with the application title, with two buttons of its own; true for
// the first (the default).
bool ask(QWidget *parent, const QString &text, const QString &first, const QString &second);

QString getOpenFileName(QWidget *parent, const QString &title, const QStringList &filters);
QString getExistingDirectory(QWidget *parent, const QString &title);
void openUrl(const QUrl &url);
void beep();

// Runs a command; an error it raises ends it and is shown in the error box.
template <typename F>
void runCommand(F &&command)
{
    try {
        command();
    } catch (const std::exception &e) {
        errorBox(e);
    }
}

// Runs a command given from outside (the bus): its boxes come once the event loop turns
// again; what its error boxes said is returned, to answer the caller with.
template <typename F>
QStringList runCommandFromOutside(F &&command)
{
    BoxesLater later;
    runCommand(std::forward<F>(command));
    return later.errors();
}

}  // namespace ui
