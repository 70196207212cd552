// A main window on the recording fake engine, in a program folder of its own, with every
// message box and file chooser answered by the test. Controls are found by their object
// names, as a user finds them by their place: the window has no public fields.
#pragma once

#include "fakes/fake_engine.h"
#include "session/recorded_files.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>

struct WindowFixture {
    QTemporaryDir dir;
    fake::FakeEngine engine;
    std::unique_ptr<RecorderCore> core;   // outlives the window, as in main()
    std::unique_ptr<MainWindow> window;
    QList<ui::Box> boxes;                 // every box shown, in order
    std::deque<bool> answers;             // answers to questions (default: Yes)
    QStringList openFileAnswers;          // paths the open dialog returns, in order
    QStringList openFileTitles;
    QList<QStringList> openFileFilters;
    QStringList chosenFolders;            // what the folder chooser returns, in order
    QList<QUrl> openedUrls;
    int beeps = 0;
    // Leaves the start-up tip timer running; otherwise it is stopped at once, so that no
    // Tip of the Day opens over a test that runs longer than a second.
    bool offerTips = false;

    QString programDir() const { return dir.path() + QLatin1Char('/'); }
    QString path(const QString &name) const { return dir.filePath(name); }

    // Builds the window as start-up does; show = run the first show's steps too.
    void start(bool show = true)
    {
        ui::Hooks hooks;
        hooks.box = [this](const ui::Box &b) {
            boxes.append(b);
            if (b.kind != ui::BoxKind::Question)
                return true;
            if (answers.empty())
                return true;
            const bool a = answers.front();
            answers.pop_front();
            return a;
        };
        hooks.openFile = [this](const QString &title, const QStringList &filters) {
            openFileTitles.append(title);
            openFileFilters.append(filters);
            return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
        };
        hooks.chooseFolder = [this](const QString &) {
            return chosenFolders.isEmpty() ? QString() : chosenFolders.takeFirst();
        };
        hooks.openUrl = [this](const QUrl &u) { openedUrls.append(u); };
        hooks.beep = [this] { ++beeps; };
        ui::setHooks(hooks);

        core = std::make_unique<RecorderCore>(engine, AppPaths::besideProgram(dir.path()));
        window = std::make_unique<MainWindow>(*core);
        if (!offerTips)
            window->setTipOfTheDayOffered(false);
        window->createSecondaryWindows();
        if (show) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        }
    }

    ~WindowFixture()
    {
        window.reset();
        core.reset();
        ui::setHooks({});
    }

    // A control of the window (or of one of its dialogs) by its object name.
    template <typename T>
    T *find(const QString &name) const
    {
        T *found = window->findChild<T *>(name);
        if (!found)
            qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
        return found;
    }
    QAction *action(const QString &name) const { return find<QAction>(name); }
    // Runs a menu command as the user does: an error it raises is shown in the error box.
    void trigger(const QString &actionName) const { action(actionName)->trigger(); }

    RecordingSession &recording() const { return window->recording(); }
    PlaybackSession &playback() const { return window->playback(); }
    RecordedFiles &files() const { return window->files(); }
    // Changes the recording settings in force, as the Options dialog's OK would.
    void changeSettings(const std::function<void(RecordingSettings &)> &change) const
    {
        RecordingSettings s = recording().settings();
        change(s);
        window->applySettings(s);
    }

    QStringList errors() const
    {
        QStringList out;
        for (const ui::Box &b : boxes)
            if (b.kind == ui::BoxKind::Error)
                out << b.text;
        return out;
    }

    fake::FakeRecorder *recorder() const { return engine.recorder(); }
    fake::FakePlayer *player() const { return engine.player(); }
};
