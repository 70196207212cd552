// Keys that work while another window has the keyboard, through the desktop portal's global
// shortcuts (org.freedesktop.portal.GlobalShortcuts): "Record or pause", "Stop recording" and
// "Add a marker". Each runs the window's own command, as its buttons do. Without the portal,
// or with a portal that has no global shortcuts, nothing happens and nothing is said:
// available() stays false.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class MainWindow;

class GlobalShortcuts : public QObject {
    Q_OBJECT

public:
    // What one shortcut does and the keys the desktop bound to it ("" while none are).
    struct Shortcut {
        QString id;            // "record-pause", "stop" or "add-marker"
        QString description;   // "Record or pause", ...
        QString preferredKeys; // what the program asks for: "CTRL+ALT+R", ...
        QString keys;          // the desktop's description of the bound keys
    };

    explicit GlobalShortcuts(MainWindow &window, QDBusConnection bus = QDBusConnection::sessionBus(),
                             QObject *parent = nullptr);
    ~GlobalShortcuts() override;

    // Asks the portal for a session and binds the three shortcuts; the answers arrive later
    // (changed() follows). Quietly nothing without a bus, a portal or its global shortcuts.
    void start();
    // The portal gave a session: the shortcuts can be bound and changed.
    bool available() const { return m_available; }
    // The three shortcuts in the order the program shows them.
    QList<Shortcut> shortcuts() const;
    // The keys bound to one shortcut; "" when none are.
    QString keys(const QString &id) const { return m_keys.value(id); }
    // Lets the user choose other keys: the desktop's own dialog where the portal has one
    // (version 2), else the shortcuts are bound once more in a new session.
    void change();

signals:
    // available() or the bound keys changed.
    void changed();

private slots:
    void onResponse(const QDBusMessage &message);
    void onActivated(const QDBusMessage &message);
    void onShortcutsChanged(const QDBusMessage &message);

private:
    using Answer = std::function<void(uint response, const QVariantMap &results)>;
    // Calls a portal method that answers through a request object: `answer` runs once the
    // request's Response arrives. The handle token goes into `options`, the last argument.
    void ask(const QString &method, QVariantList arguments, QVariantMap options, Answer answer);
    void followRequest(const QString &path, bool on);
    QString newToken();
    void createSession();
    void bind();
    void list();
    void closeSession();
    void takeKeys(const QVariant &shortcuts);
    void run(const QString &id);

    MainWindow &m_window;
    QDBusConnection m_bus;
    bool m_started = false;
    bool m_available = false;
    uint m_version = 0;
    QString m_session;
    QHash<QString, QString> m_keys;
    QHash<QString, Answer> m_requests;   // by the request object's path
    quint64 m_tokens = 0;
};
