// The program's icon in the desktop's tray, shown from start-up: a StatusNotifierItem where a
// watcher for them is on the session bus, the X11 tray otherwise. Its icon says what runs
// (idle, recording, paused, waiting, playing), its tooltip the state words, the time and the
// file; its menu holds the window's own Record, Pause, Stop and Add Marker (the same actions,
// so they are enabled as the window's are), then Show/Hide Window and Quit. Where the desktop
// has no tray it never shows, and says nothing.
#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;
class RecorderCore;

class TrayIndicator : public QObject {
    Q_OBJECT

public:
    // What the icon shows.
    enum class State { Idle, Recording, Paused, Waiting, Playing };
    Q_ENUM(State)

    // Over the core and the window it shows and hides (both outlive it). commands are the
    // window's own actions, in the menu's order (Record, Pause, Stop, Add Marker). Shown at
    // once where the desktop has a tray.
    TrayIndicator(RecorderCore &core, QWidget &window, const QList<QAction *> &commands,
                  QObject *parent = nullptr);
    ~TrayIndicator() override;

    // The icon is in the tray and the desktop has one now: the window may go behind it.
    bool isPresent() const;
    // The icon is shown (never where the desktop had no tray at start-up).
    bool isVisible() const;
    // Takes the icon out of the tray, or puts it back where the desktop has one.
    void setVisible(bool visible);

    State state() const { return m_state; }
    QString toolTip() const;
    QIcon icon() const;
    QMenu *menu() const { return m_menu.get(); }
    QAction *showHideAction() const { return m_showHide; }
    QAction *quitAction() const { return m_quit; }

    // The tray's icon for a state, painted at the sizes trays ask for: a dark rounded tile
    // with a light rim (seen on light and dark panels alike) and the state's symbol on it.
    static QIcon iconFor(State state);

public slots:
    // Brings a hidden or minimised window to the front; hides a shown one.
    void toggleWindow();

signals:
    // Quit in the menu: the window decides what follows (during a run it asks first).
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showStatus();       // icon, tooltip and the clock from what the core says now
    void showToolTip();
    void showWindowText();   // Show Window or Hide Window, as the window is now

    RecorderCore &m_core;
    QWidget &m_window;
    // The menu goes after the tray's icon that shows it (members end in reverse order).
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
    QAction *m_showHide = nullptr;
    QAction *m_quit = nullptr;
    QTimer *m_clock = nullptr;   // the elapsed time, once a second while something runs
    State m_state = State::Idle;
    bool m_available = false;    // the desktop had a tray at start-up
    bool m_stateShown = false;
};
