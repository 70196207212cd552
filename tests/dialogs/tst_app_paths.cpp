#include "session/app_paths.h"
#include "session/recorder_core.h"
#include "ui/main_window.h"
#include "ui/ui_services.h"
#include "dialogs/modal_driver.h"
#include "ui/tip_of_the_day_dialog.h"
#include "fakes/fake_engine.h"
#include "session/ini_file.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void touch(const QString &path)
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x\n");
}

// Points HOME and XDG_CONFIG_HOME into a temporary folder for one test.
struct UserFolders {
    QTemporaryDir dir;
    QByteArray oldHome = qgetenv("HOME");
    QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    bool hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");

    UserFolders()
    {
        qputenv("HOME", QFile::encodeName(home()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config()));
        QDir().mkpath(home());
    }
    ~UserFolders()
    {
        qputenv("HOME", oldHome);
        if (hadConfig)
            qputenv("XDG_CONFIG_HOME", oldConfig);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    QString home() const { return dir.path() + "/home"; }
    QString config() const { return dir.path() + "/config"; }
};

// A prefix laid out as the install makes it: bin/ and share/tavrin-sound-recorder/.
struct InstalledPrefix {
    QTemporaryDir dir;
    InstalledPrefix()
    {
        QDir().mkpath(bin());
        QDir().mkpath(dir.path() + "/share/tavrin-sound-recorder");
    }
    QString bin() const { return dir.path() + "/bin"; }
};

}  // namespace

class TestAppPaths : public QObject {
    Q_OBJECT

private slots:
    void installedIsToldByTheLayout_data()
    {
        QTest::addColumn<QString>("programDir");
        QTest::addColumn<QString>("dataDir");
        QTest::addColumn<bool>("installed");
        QTest::newRow("bin beside share") << "bin" << "share/tavrin-sound-recorder" << true;
        QTest::newRow("bin/ with a slash") << "bin/" << "share/tavrin-sound-recorder" << true;
        QTest::newRow("a build folder's bin") << "bin" << QString() << false;
        QTest::newRow("not named bin") << "tools" << "share/tavrin-sound-recorder" << false;
        QTest::newRow("another program's data") << "bin" << "share/other" << false;
    }
    void installedIsToldByTheLayout()
    {
        QFETCH(QString, programDir);
        QFETCH(QString, dataDir);
        QFETCH(bool, installed);
        // The folders are writable (by root, by their owner): that decides nothing.
        QTemporaryDir prefix;
        QVERIFY(QDir().mkpath(prefix.filePath(programDir)));
        if (!dataDir.isEmpty())
            QVERIFY(QDir().mkpath(prefix.filePath(dataDir)));
        QCOMPARE(AppPaths::isInstalledLayout(prefix.filePath(programDir)), installed);
    }

    void programOutsideAnInstallKeepsEverythingBesideIt()
    {
        UserFolders user;
        QTemporaryDir prog;
        const AppPaths p = AppPaths::forProgramDir(prog.path());
        const QString dir = prog.path() + "/";
        QCOMPARE(p.programDir, dir);
        QCOMPARE(p.settingsFile, dir + "setup.ini");
        QCOMPARE(p.defaultSavePath, dir + "Recording/");
        QCOMPARE(p.tipsFile, dir + "tips.txt");
        QCOMPARE(p.helpFile, dir + "tavrinsoundrecorder.html");
        p.makeSettingsFolder();
        QVERIFY(!QFileInfo::exists(user.config() + "/tavrin-sound-recorder"));
    }

    void installedProgramUsesTheUsersFolders()
    {
        UserFolders user;
        InstalledPrefix installed;
        const AppPaths p = AppPaths::forProgramDir(installed.bin());
        QCOMPARE(p.programDir, installed.bin() + "/");
        QCOMPARE(p.settingsFile, user.config() + "/tavrin-sound-recorder/setup.ini");
        QCOMPARE(p.defaultSavePath, user.home() + "/Music/Recording/");
        QCOMPARE(p.tipsFile, installed.bin() + "/tips.txt");   // found nowhere: beside the program
    }

    void configHomeDefaultsToDotConfig_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("unset") << QByteArray();
        QTest::newRow("relative") << QByteArray("relative/config");
    }
    void configHomeDefaultsToDotConfig()
    {
        QFETCH(QByteArray, value);
        UserFolders user;
        InstalledPrefix installed;
        if (value.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", value);
        QCOMPARE(AppPaths::forProgramDir(installed.bin()).settingsFile,
                 user.home() + "/.config/tavrin-sound-recorder/setup.ini");
    }

    void musicFolderFromTheUsersFolderSettings()
    {
        UserFolders user;
        InstalledPrefix installed;
        QDir().mkpath(user.config());
        QFile dirs(user.config() + "/user-dirs.dirs");
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_MUSIC_DIR=\"$HOME/Tunes\"\n");
        dirs.close();
        QCOMPARE(AppPaths::forProgramDir(installed.bin()).defaultSavePath, user.home() + "/Tunes/Recording/");
    }

    void installedDataIsFoundInTheSharedFolder_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::addColumn<bool>("shared");
        QTest::addColumn<QString>("expected");
        QTest::newRow("only shared") << false << true << "share/tavrin-sound-recorder/";
        QTest::newRow("both: beside wins") << true << true << "bin/";
        QTest::newRow("neither: beside") << false << false << "bin/";
    }
    void installedDataIsFoundInTheSharedFolder()
    {
        QFETCH(bool, beside);
        QFETCH(bool, shared);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        const QString p = prefix.path() + "/";
        QVERIFY(QDir().mkpath(p + "bin"));
        for (const QString name : {"tips.txt", "tavrinsoundrecorder.html"}) {
            if (beside)
                touch(p + "bin/" + name);
            if (shared)
                touch(p + "share/tavrin-sound-recorder/" + name);
        }
        const AppPaths paths = AppPaths::forProgramDir(p + "bin");
        QCOMPARE(paths.tipsFile, p + expected + "tips.txt");
        QCOMPARE(paths.helpFile, p + expected + "tavrinsoundrecorder.html");
        const AppPaths outside = AppPaths::outsideProgram(p + "bin", p + "cfg", p + "music");
        QCOMPARE(outside.tipsFile, p + expected + "tips.txt");
        QCOMPARE(outside.settingsFile, p + "cfg/setup.ini");
        QCOMPARE(outside.defaultSavePath, p + "music/Recording/");
    }

    // An installed program: the settings folder does not exist before the first start, and
    // the Tip of the Day's Close must still be able to write there.
    void firstWriteOfAnInstalledProgramWorks()
    {
        UserFolders user;
        InstalledPrefix installed;
        const AppPaths paths = AppPaths::forProgramDir(installed.bin());
        const QString configDir = user.config() + "/tavrin-sound-recorder";
        QVERIFY(!QFileInfo::exists(configDir));
        QVERIFY_THROWS_EXCEPTION(SettingsError, IniFile(paths.settingsFile).writeInteger("tips", "tipno", 1));
        paths.makeSettingsFolder();
        QVERIFY(QFileInfo(configDir).isDir());
        QVERIFY(!QFileInfo::exists(paths.settingsFile));   // the file comes with the first write

        QList<ui::Box> boxes;
        ui::Hooks hooks;
        hooks.box = [&](const ui::Box &b) {
            boxes << b;
            return true;
        };
        ui::setHooks(hooks);
        fake::FakeEngine engine;
        {
            RecorderCore core(engine, paths);
            MainWindow window(core);
            window.setTipOfTheDayOffered(false);
            window.createSecondaryWindows();
            QCOMPARE(window.recording().settings().savePath, user.home() + "/Music/Recording/");
            ModalDriver<TipOfTheDayDialog> driver([](TipOfTheDayDialog *tip) {
                tip->findChild<QCheckBox *>("showTipsBox")->setChecked(false);
                tip->findChild<QPushButton *>("closeButton")->click();
            });
            window.showTipOfTheDay();
            QCOMPARE(driver.runs, 1);
            QVERIFY(!driver.closedByDriver);
        }
        ui::setHooks({});
        // The tips file is missing from the install: reported, and Close still stores.
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes.first().text, QString("File not found."));
        QCOMPARE(IniFile(paths.settingsFile).readInteger("tips", "showtip", -1), 0);
        QCOMPARE(IniFile(paths.settingsFile).readInteger("tips", "tipno", -1), 1);
    }
};

QTEST_MAIN(TestAppPaths)
#include "tst_app_paths.moc"
