// A main window on the recording fake engine, in a program folder of its own, with every
// message box and file chooser answered by the test.
#pragma once

#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "fakes/fake_engine.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <memory>

struct WindowFixture {
    QTemporaryDir dir;
    fake::FakeEngine engine;
    std::unique_ptr<MainWindow> form;
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

        form = std::make_unique<MainWindow>(engine, AppPaths::besideProgram(dir.path()));
        if (!offerTips)
            form->TimerTip->stop();
        form->CreateSecondaryWindows();
        if (show) {
            form->show();
            QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        }
    }

    ~WindowFixture()
    {
        form.reset();
        ui::setHooks({});
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
