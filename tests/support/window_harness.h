// The main window over a recorder core of its own, as main() builds them, in a program
// folder of its own, with every box, chooser and desktop action answered by the test.
// Controls are found by their object names, as a user finds them by their place. The fake
// engine's fixture (tests/app/window_fixture.h) and the real engine's (real_window.h) are
// this with their engine.
#pragma once

#include "session/recorder_core.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>

struct WindowHarness {
    QTemporaryDir dir;
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

    QString programDir() const { return dir.path() + QLatin1Char('/'); }
    QString path(const QString &name) const { return dir.filePath(name); }

    // Builds the core and the window on that engine as start-up does; the Tip of the Day is
    // offered only when asked for (so that none opens over a test that runs long), and
    // show = run the first show's steps too.
    void build(engine::IEngineFactory &engine, bool offerTips, bool show)
    {
        ui::Hooks hooks;
        hooks.box = [this](const ui::Box &b) {
            boxes.append(b);
            if (b.kind != ui::BoxKind::Question || answers.empty())
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

    // The window and the core go before the engine they were built on (the fixtures' own
    // member).
    void tearDown()
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
    // Chooses the recording format as the Options dialog's OK would.
    void useFormat(const QString &extension) const
    {
        changeSettings([&](RecordingSettings &s) { s.saveFormat = extension; });
    }

    QStringList errors() const
    {
        QStringList out;
        for (const ui::Box &b : boxes)
            if (b.kind == ui::BoxKind::Error)
                out << b.text;
        return out;
    }
};
