#include "app/window_fixture.h"
#include "dialogs/modal_driver.h"
#include "ui/tip_of_the_day_dialog.h"
#include "session/ini_file.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <cerrno>

namespace {

QStringList tenTips()
{
    QStringList tips;
    for (int i = 1; i <= 10; ++i)
        tips << QStringLiteral("Tip %1").arg(i);
    return tips;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

void writeTips(WindowFixture &w, const QStringList &tips)
{
    writeFile(w.path("tips.txt"), tips.join('\n').toUtf8() + '\n');
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int storedTipNo(WindowFixture &w)
{
    return IniFile(w.path("setup.ini")).readInteger("tips", "tipno", -99);
}

int storedShowTip(WindowFixture &w)
{
    return IniFile(w.path("setup.ini")).readInteger("tips", "showtip", -99);
}

// The dialog's controls, found by their object names.
struct TipControls {
    explicit TipControls(const TipOfTheDayDialog *d) : dialog(d) {}

    const TipOfTheDayDialog *dialog;
    QFrame *bevel = find<QFrame>("bevel");
    QWidget *panel = find<QWidget>("panel");
    QLabel *bulb = find<QLabel>("bulb");
    QLabel *heading = find<QLabel>("headingLabel");
    QPlainTextEdit *tipText = find<QPlainTextEdit>("tipText");
    QCheckBox *showTips = find<QCheckBox>("showTipsBox");
    QPushButton *nextButton = find<QPushButton>("nextTipButton");
    QPushButton *closeButton = find<QPushButton>("closeButton");

private:
    template <typename T>
    T *find(const char *name) const
    {
        T *found = dialog->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("the Tip of the Day has no %s named %s", T::staticMetaObject.className(), name);
        return found;
    }
};

QString shown(const TipOfTheDayDialog *tip)
{
    return TipControls(tip).tipText->toPlainText();
}

bool noTipDialog(WindowFixture &w)
{
    return w.window->findChildren<TipOfTheDayDialog *>().isEmpty();
}

struct Opened {
    int runs = 0;
    bool closedByDriver = false;
};

// Opens the dialog as Help / Tip of the Day does and runs the script on it.
Opened openTip(WindowFixture &w, std::function<void(TipOfTheDayDialog *)> script)
{
    ModalDriver<TipOfTheDayDialog> driver(std::move(script));
    w.trigger("tipOfTheDayAction");
    return {driver.runs, driver.closedByDriver};
}

}  // namespace

class TestTipDialog : public QObject {
    Q_OBJECT

private slots:
    void offeredOnceAboutASecondAfterStart()
    {
        WindowFixture w;
        writeTips(w, tenTips());
        w.offerTips = true;
        QElapsedTimer clock;
        clock.start();
        qint64 openedAfter = -1;
        QString first;
        ModalDriver<TipOfTheDayDialog> state([&](TipOfTheDayDialog *tip) {
            openedAfter = clock.elapsed();
            first = shown(tip);
            tip->close();
        });
        w.start();
        QTRY_COMPARE_WITH_TIMEOUT(state.runs, 1, 5000);
        QVERIFY2(openedAfter >= 950 && openedAfter < 3000, qPrintable(QString::number(openedAfter)));
        QCOMPARE(first, QString("Tip 2"));

        // Never again in this run.
        ModalDriver<TipOfTheDayDialog> again([](TipOfTheDayDialog *tip) { tip->close(); }, 2500);
        QTest::qWait(2600);
        QCOMPARE(again.runs, 0);
        QVERIFY(noTipDialog(w));
        QCOMPARE(w.errors(), QStringList());
    }

    void stepsThroughTheTipsAndCloseStoresTheOneShown()
    {
        WindowFixture w;
        writeTips(w, tenTips());
        w.start();
        QStringList seen;
        auto state = openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            seen << shown(tip);
            for (int i = 0; i < 11; ++i) {
                c.nextButton->click();
                seen << shown(tip);
            }
            c.closeButton->click();
        });
        QCOMPARE(seen, QStringList({"Tip 2", "Tip 3", "Tip 4", "Tip 5", "Tip 6", "Tip 7", "Tip 8", "Tip 9",
                                    "Tip 10", "Tip 1", "Tip 2", "Tip 3"}));
        QVERIFY(!state.closedByDriver);
        QCOMPARE(storedTipNo(w), 3);
        QCOMPARE(storedShowTip(w), 1);
        QVERIFY(noTipDialog(w));

        // Built afresh: the next opening reads the keys and the file again.
        writeTips(w, {"A", "B", "C", "D", "E"});
        QString next;
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            next = shown(tip);
            QCOMPARE(tip->tipCount(), 5);
            QCOMPARE(tip->currentTip(), 4);
            c.closeButton->click();
        });
        QCOMPARE(next, QString("D"));
        QCOMPARE(storedTipNo(w), 4);
    }

    void storedNumberWraps_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("current");
        QTest::newRow("no key") << QString() << "Tip 2" << 2;
        QTest::newRow("0") << "0" << "Tip 1" << 1;
        QTest::newRow("9") << "9" << "Tip 10" << 10;
        QTest::newRow("10") << "10" << "Tip 1" << 1;
        QTest::newRow("25") << "25" << "Tip 6" << 6;
        QTest::newRow("not a number") << "abc" << "Tip 2" << 2;
        QTest::newRow("largest integer") << "2147483647" << "Tip 8" << 8;
        // A negative number counts as 0: the first tip follows.
        QTest::newRow("negative") << "-4" << "Tip 1" << 1;
        QTest::newRow("smallest integer") << "-2147483648" << "Tip 1" << 1;
    }
    void storedNumberWraps()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        QFETCH(int, current);
        WindowFixture w;
        writeTips(w, tenTips());
        if (!stored.isNull())
            IniFile(w.path("setup.ini")).writeString("tips", "tipno", stored);
        w.start();
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            QCOMPARE(tip->tipCount(), 10);
            QCOMPARE(shown(tip), expected);
            QCOMPARE(tip->currentTip(), current);
            QVERIFY(c.showTips->isChecked());
            c.closeButton->click();
        });
        QCOMPARE(storedTipNo(w), current);
    }

    void emptyLinesAreSkippedAndNotCounted()
    {
        WindowFixture w;
        // A byte order mark, blank lines, a line of blanks (a tip of its own), a CRLF line end
        // and a last line without a line end.
        writeFile(w.path("tips.txt"), "\xEF\xBB\xBFOne\n\nTwo\n\n\n   \nFour \xE2\x80\x94 dash\r\n\r\nFive");
        w.start();
        QStringList seen;
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            QCOMPARE(tip->tipCount(), 5);
            seen << shown(tip);
            for (int i = 0; i < 4; ++i) {
                c.nextButton->click();
                seen << shown(tip);
            }
            c.closeButton->click();
        });
        QCOMPARE(seen, QStringList({"Two", "   ", QString::fromUtf8("Four \xE2\x80\x94 dash"), "Five", "One"}));
        QCOMPARE(storedTipNo(w), 1);
    }

    void latin1LinesAreShownAsLatin1()
    {
        WindowFixture w;
        writeFile(w.path("tips.txt"), "first\nCaf\xE9 cr\xE8me\n");
        w.start();
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            QCOMPARE(shown(tip), QString::fromUtf8("Caf\xC3\xA9 cr\xC3\xA8me"));
            c.closeButton->click();
        });
    }

    void longTipIsShownWholeAndWrapped()
    {
        WindowFixture w;
        QString longTip;
        for (int i = 0; i < 120; ++i)
            longTip += QStringLiteral("word%1 ").arg(i);
        longTip = longTip.trimmed();
        writeTips(w, {"short", longTip});
        w.start();
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            QCOMPARE(shown(tip), longTip);
            QApplication::processEvents();
            const QTextLayout *layout = c.tipText->document()->firstBlock().layout();
            QVERIFY(layout->lineCount() > 5);
            QVERIFY(!c.tipText->horizontalScrollBar()->isVisible());
            c.closeButton->click();
        });
    }

    void showTipZeroOffersNothingButTheMenuStillOpens()
    {
        WindowFixture w;
        writeTips(w, tenTips());
        IniFile(w.path("setup.ini")).writeInteger("tips", "showtip", 0);
        w.offerTips = true;
        ModalDriver<TipOfTheDayDialog> offer([](TipOfTheDayDialog *tip) { tip->close(); }, 1500);
        w.start();
        QTest::qWait(1600);
        QCOMPARE(offer.runs, 0);

        bool ticked = true;
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            ticked = c.showTips->isChecked();
            c.closeButton->click();
        });
        QVERIFY(!ticked);
        QCOMPARE(storedShowTip(w), 0);
    }

    void showTipOtherThanOneClearsTheBox_data()
    {
        QTest::addColumn<bool>("tick");
        QTest::addColumn<int>("written");
        QTest::newRow("left clear") << false << 0;
        QTest::newRow("ticked") << true << 1;
    }
    void showTipOtherThanOneClearsTheBox()
    {
        QFETCH(bool, tick);
        QFETCH(int, written);
        WindowFixture w;
        writeTips(w, tenTips());
        IniFile(w.path("setup.ini")).writeInteger("tips", "showtip", 2);
        w.offerTips = true;
        ModalDriver<TipOfTheDayDialog> offer([](TipOfTheDayDialog *tip) { tip->close(); }, 1500);
        w.start();
        QTest::qWait(1600);
        QCOMPARE(offer.runs, 0);

        bool ticked = true;
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            ticked = c.showTips->isChecked();
            c.showTips->setChecked(tick);
            c.closeButton->click();
        });
        QVERIFY(!ticked);
        QCOMPARE(storedShowTip(w), written);
    }

    void closeBoxStoresNothing()
    {
        WindowFixture w;
        writeTips(w, tenTips());
        IniFile ini(w.path("setup.ini"));
        ini.writeInteger("tips", "tipno", 4);
        ini.writeInteger("tips", "showtip", 1);
        const QByteArray before = readFile(w.path("setup.ini"));
        w.start();
        QString last;
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            QCOMPARE(shown(tip), QString("Tip 5"));
            c.nextButton->click();
            c.nextButton->click();
            last = shown(tip);
            c.showTips->setChecked(false);
            tip->close();   // the title bar's close box
        });
        QCOMPARE(last, QString("Tip 7"));
        QCOMPARE(readFile(w.path("setup.ini")), before);
        QVERIFY(noTipDialog(w));

        QString reopened;
        bool ticked = false;
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            reopened = shown(tip);
            ticked = c.showTips->isChecked();
            tip->close();
        });
        QCOMPARE(reopened, QString("Tip 5"));
        QVERIFY(ticked);
    }

    void missingTipsFileIsReportedAndTheDialogStillWorks()
    {
        WindowFixture w;
        IniFile(w.path("setup.ini")).writeInteger("tips", "tipno", 6);
        IniFile(w.path("setup.ini")).writeInteger("tips", "showtip", 0);
        w.start();
        bool visible = false;
        bool ticked = true;
        QString text = "x";
        QStringList errorsWhileOpen;
        auto state = openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            visible = tip->isVisible();
            ticked = c.showTips->isChecked();
            text = shown(tip);
            c.nextButton->click();   // tries the file again
            errorsWhileOpen = w.errors();
            c.closeButton->click();
        });
        QVERIFY(visible);
        QVERIFY(!ticked);
        QCOMPARE(text, QString());
        QCOMPARE(errorsWhileOpen, QStringList({"File not found.", "File not found."}));
        QVERIFY(!state.closedByDriver);
        QCOMPARE(storedTipNo(w), 6);
        QCOMPARE(storedShowTip(w), 0);
        QVERIFY(noTipDialog(w));
    }

    void unopenableTipsFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("a folder") << "folder" << "Access denied.";
        QTest::newRow("dangling link") << "dangling" << "File not found.";
        QTest::newRow("link loop") << "loop" << "Path not found.";
    }
    void unopenableTipsFile()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        WindowFixture w;
        const QString tips = w.path("tips.txt");
        if (kind == "folder")
            QVERIFY(QDir().mkdir(tips));
        else if (kind == "dangling")
            QVERIFY(QFile::link(w.path("gone.txt"), tips));
        else
            QVERIFY(QFile::link(tips, tips));
        w.start();
        QString text = "x";
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            text = shown(tip);
            c.closeButton->click();
        });
        QCOMPARE(text, QString());
        QCOMPARE(w.errors(), QStringList({error}));
        QCOMPARE(storedTipNo(w), 1);
    }

    void openErrorTexts_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("text");
        QTest::newRow("ENOENT") << ENOENT << "File not found";
        QTest::newRow("ENOTDIR") << ENOTDIR << "Path not found";
        QTest::newRow("EACCES") << EACCES << "Access denied";
        QTest::newRow("EPERM") << EPERM << "Access denied";
        QTest::newRow("EISDIR") << EISDIR << "Access denied";
        QTest::newRow("EMFILE") << EMFILE << "Too many open files";
        QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << "Invalid filename";
        QTest::newRow("EIO: the system's own text") << EIO << QString::fromLocal8Bit(strerror(EIO));
    }
    void openErrorTexts()
    {
        QFETCH(int, error);
        QFETCH(QString, text);
        QCOMPARE(fileOpenErrorText(error), text);
    }

    void emptyTipsFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("only line ends") << QByteArray("\n\n\r\n\n");
    }
    void emptyTipsFile()
    {
        QFETCH(QByteArray, bytes);
        WindowFixture w;
        writeFile(w.path("tips.txt"), bytes);
        IniFile(w.path("setup.ini")).writeInteger("tips", "tipno", 7);
        w.start();
        int count = -1;
        int current = -1;
        QString text = "x";
        auto state = openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            c.nextButton->click();
            c.nextButton->click();
            count = tip->tipCount();
            current = tip->currentTip();
            text = shown(tip);
            c.closeButton->click();
        });
        QCOMPARE(count, 0);
        QCOMPARE(current, 7);
        QCOMPARE(text, QString());
        QCOMPARE(w.errors(), QStringList());
        QVERIFY(!state.closedByDriver);
        QCOMPARE(storedTipNo(w), 7);
        QVERIFY(noTipDialog(w));
    }

    void closeWithUnwritableSettingsKeepsTheDialogOpen()
    {
        WindowFixture w;
        writeTips(w, tenTips());
        // A folder in setup.ini's place refuses every write, also for root.
        QVERIFY(QDir().mkdir(w.path("setup.ini")));
        w.start();
        bool stillOpen = false;
        auto state = openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            c.closeButton->click();
            QApplication::processEvents();
            stillOpen = tip->isVisible();
            tip->close();   // the close box still closes it
        });
        QVERIFY(stillOpen);
        QCOMPARE(w.errors(), QStringList({"Unable to write to " + w.path("setup.ini") + "."}));
        QVERIFY(!state.closedByDriver);
        QVERIFY(noTipDialog(w));
    }

    void theTimerDoesNotOpenASecondDialog()
    {
        WindowFixture w;
        writeTips(w, tenTips());
        w.start();
        int dialogs = 0;
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            // The start-up offer arriving while the menu's dialog is open.
            w.window->setTipOfTheDayOffered(true);
            QTest::qWait(1300);
            dialogs = int(w.window->findChildren<TipOfTheDayDialog *>().size());
            QCOMPARE(w.window->findChildren<TipOfTheDayDialog *>(), QList<TipOfTheDayDialog *>({tip}));
            c.closeButton->click();
        });
        QCOMPARE(dialogs, 1);
    }

    void windowAsDesigned()
    {
        WindowFixture w;
        writeTips(w, tenTips());
        w.start();
        openTip(w, [&](TipOfTheDayDialog *tip) {
            const TipControls c(tip);
            QCOMPARE(tip->windowTitle(), QString("Tip of the Day"));
            QVERIFY(tip->isModal());
            const Qt::WindowFlags flags = tip->windowFlags();
            QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QCOMPARE(tip->windowType(), Qt::Window);
            QVERIFY(tip->parentWidget() == w.window.get());
            // The offscreen platform draws no frame: the outer size is the widget's.
            QCOMPARE(tip->frameGeometry().size(), QSize(358, 295));
            QVERIFY((tip->frameGeometry().center() - w.window->frameGeometry().center()).manhattanLength() <= 2);
            QVERIFY(tip->minimumSize().width() < 358 && tip->maximumSize().width() > 358);   // sizeable

            QCOMPARE(c.heading->text(), QString("Did you know..."));
            QVERIFY(c.heading->font().bold());
            QCOMPARE(c.heading->font().pixelSize(), 16);
            QCOMPARE(c.showTips->text(), QString("Show Tips on Startup"));
            QCOMPARE(c.nextButton->text(), QString("Next Tip"));
            QCOMPARE(c.closeButton->text(), QString("Close"));
            QCOMPARE(c.bevel->frameShadow(), QFrame::Sunken);
            QCOMPARE(c.tipText->frameShape(), QFrame::NoFrame);
            QVERIFY(c.tipText->isReadOnly());
            QCOMPARE(c.tipText->lineWrapMode(), QPlainTextEdit::WidgetWidth);

            // Drawn: a white panel, the picture at its top left, the heading beside it.
            const QImage panel = c.panel->grab().toImage();
            QCOMPARE(QColor(panel.pixel(panel.width() - 3, panel.height() - 3)), QColor(Qt::white));
            QVERIFY(c.bulb->geometry().left() < c.heading->geometry().left());
            QVERIFY(c.bulb->geometry().top() <= c.tipText->geometry().top());
            const QImage bulb = c.bulb->grab().toImage();
            int coloured = 0;
            for (int y = 0; y < bulb.height(); ++y)
                for (int x = 0; x < bulb.width(); ++x) {
                    const QColor c = bulb.pixelColor(x, y);
                    coloured += c.red() > 200 && c.green() > 150 && c.blue() < 120;
                }
            QVERIFY2(coloured > 100, "the light bulb is drawn");

            const QString shots = qEnvironmentVariable("TAVRIN_SNAPSHOT_DIR");
            if (!shots.isEmpty())
                tip->grab().save(shots + "/tip_of_the_day.png");
            c.closeButton->click();
        });
    }
};

QTEST_MAIN(TestTipDialog)
#include "tst_tip_dialog.moc"
