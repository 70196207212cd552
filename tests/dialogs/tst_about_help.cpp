#include "app/window_fixture.h"
#include "ui/about_dialog.h"
#include "ui/link_label.h"
#include "dialogs/modal_driver.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QWindow>

namespace {

struct Opened {
    int runs = 0;
    bool closedByDriver = false;
};

// Opens the box as Help / About does and runs the script on it.
Opened openAbout(WindowFixture &w, std::function<void(AboutDialog *)> script)
{
    ModalDriver<AboutDialog> driver(std::move(script));
    w.trigger("aboutAction");
    return {driver.runs, driver.closedByDriver};
}

struct AboutTexts {
    QString caption, title, versionLabel, version, homeLabel, homeLink, supportLabel, supportLink, close, notice;
    bool operator==(const AboutTexts &o) const
    {
        return std::tie(caption, title, versionLabel, version, homeLabel, homeLink, supportLabel, supportLink, close,
                        notice)
            == std::tie(o.caption, o.title, o.versionLabel, o.version, o.homeLabel, o.homeLink, o.supportLabel,
                        o.supportLink, o.close, o.notice);
    }
};

// The box's parts, found by their object names.
struct AboutParts {
    explicit AboutParts(const AboutDialog *d) : box(d) {}

    const AboutDialog *box;
    QWidget *topBand = find<QWidget>("topBand");
    QLabel *programIcon = find<QLabel>("programIcon");
    QLabel *productName = find<QLabel>("productName");
    QLabel *versionLabel = find<QLabel>("versionLabel");
    QLabel *version = find<QLabel>("Version");
    QLabel *homePageLabel = find<QLabel>("homePageLabel");
    LinkLabel *homePageLink = find<LinkLabel>("homePageLink");
    QLabel *supportLabel = find<QLabel>("supportLabel");
    LinkLabel *supportLink = find<LinkLabel>("supportLink");
    QWidget *bottomBand = find<QWidget>("bottomBand");
    QLabel *notice = find<QLabel>("notice");
    QPushButton *closeButton = find<QPushButton>("closeButton");

private:
    template <typename T>
    T *find(const char *name) const
    {
        T *found = box->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("the About box has no %s named %s", T::staticMetaObject.className(), name);
        return found;
    }
};

AboutTexts textsOf(const AboutDialog *box)
{
    const AboutParts p(box);
    return {box->windowTitle(),         p.productName->text(),  p.versionLabel->text(),
            p.version->text(),          p.homePageLabel->text(), p.homePageLink->text(),
            p.supportLabel->text(),     p.supportLink->text(),  p.closeButton->text(),
            p.notice->text()};
}

bool noAboutBox(WindowFixture &w)
{
    return w.window->findChildren<AboutDialog *>().isEmpty();
}

bool looksNormal(const LinkLabel *link)
{
    return link->palette().color(QPalette::WindowText) == QColor(Qt::blue) && !link->font().underline();
}

bool looksHovered(const LinkLabel *link)
{
    return link->palette().color(QPalette::WindowText) == QColor(Qt::red) && link->font().underline();
}

// Pixels of the drawn link that are clearly of the given colour.
int pixelsOf(LinkLabel *link, const QColor &colour)
{
    const QImage image = link->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            n += qAbs(c.red() - colour.red()) < 60 && qAbs(c.green() - colour.green()) < 60
                && qAbs(c.blue() - colour.blue()) < 60;
        }
    return n;
}

// A snapshot of what a help command must leave alone.
QStringList stateOf(WindowFixture &w)
{
    return {QString::number(w.playback().isActive()), QString::number(w.recording().isActive()), w.files().currentFile(),
            w.window->statusText(0), w.window->statusText(1), w.window->statusText(2),
            QString::number(w.find<QTabWidget>("pages")->currentIndex()), QString::number(w.engine.log.calls.size()),
            QString::number(QFile::exists(w.path("setup.ini")))};
}

}  // namespace

class TestAboutHelp : public QObject {
    Q_OBJECT

private slots:
    void aboutBoxTexts()
    {
        WindowFixture w;
        w.start();
        AboutTexts first;
        const Opened opened = openAbout(w, [&](AboutDialog *box) {
            const AboutParts p(box);
            first = textsOf(box);
            p.closeButton->click();
        });
        QCOMPARE(opened.runs, 1);
        QVERIFY(!opened.closedByDriver);
        QCOMPARE(first.caption, QString("About"));
        QCOMPARE(first.title, QString("Tavrin Sound Recorder v3.1.0"));
        QCOMPARE(first.versionLabel, QString("Version"));
        QCOMPARE(first.version, QString("v3.1.0"));
        QCOMPARE(first.homeLabel, QString("HomePage"));
        QCOMPARE(first.homeLink, QString("https://tavrin.example.org/"));
        QCOMPARE(first.supportLabel, QString("Technology Support"));
        QCOMPARE(first.supportLink, QString("Technology Support"));
        QCOMPARE(first.close, QString("Close"));
        QVERIFY(!first.notice.isEmpty());
        QVERIFY(noAboutBox(w));
        QCOMPARE(w.errors(), QStringList());
    }

    void versionFollowsTheProject()
    {
        QCOMPARE(versionText, QStringLiteral("v" TAVRIN_PROJECT_VERSION));
    }

    void openingTwiceBuildsTheBoxAfresh()
    {
        WindowFixture w;
        w.start();
        QPointer<AboutDialog> firstBox;
        AboutTexts first, second;
        openAbout(w, [&](AboutDialog *box) {
            firstBox = box;
            first = textsOf(box);
            box->close();   // the close box
        });
        QVERIFY(firstBox.isNull());
        QVERIFY(noAboutBox(w));
        const Opened again = openAbout(w, [&](AboutDialog *box) {
            const AboutParts p(box);
            second = textsOf(box);
            p.closeButton->click();
        });
        QCOMPARE(again.runs, 1);
        QVERIFY(second == first);
    }

    void windowAsDesigned()
    {
        WindowFixture w;
        w.start();
        openAbout(w, [&](AboutDialog *box) {
            const AboutParts p(box);
            QVERIFY(box->isModal());
            QVERIFY(box->parentWidget() == w.window.get());
            const Qt::WindowFlags flags = box->windowFlags();
            QCOMPARE(box->windowType(), Qt::Dialog);
            QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
            // Sized to its contents, not by the user.
            QCOMPARE(box->minimumSize(), box->maximumSize());
            QVERIFY2(box->width() >= 405 && box->width() <= 460, qPrintable(QString::number(box->width())));
            QVERIFY2(box->height() >= 220 && box->height() <= 290, qPrintable(QString::number(box->height())));
            QCOMPARE(p.topBand->height(), 65);
            QCOMPARE(p.bottomBand->height(), 48);
            QCOMPARE(p.programIcon->size(), QSize(34, 33));
            QVERIFY(!p.programIcon->pixmap().isNull());
            QVERIFY((box->frameGeometry().center() - w.window->frameGeometry().center()).manhattanLength() <= 2);
            // Bands top to bottom; the notice left of "Close" in the bottom band.
            QVERIFY(p.topBand->geometry().bottom() < p.version->geometry().top());
            QVERIFY(p.supportLink->geometry().bottom() < p.bottomBand->geometry().top());
            QVERIFY(p.notice->geometry().right() < p.closeButton->geometry().left());
            QVERIFY(p.version->geometry().top() < p.homePageLink->geometry().top());
            QVERIFY(p.homePageLink->geometry().top() < p.supportLink->geometry().top());

            const QString shots = qEnvironmentVariable("TAVRIN_SNAPSHOT_DIR");
            if (!shots.isEmpty())
                box->grab().save(shots + "/about.png");
            p.closeButton->click();
        });
    }

    void linksReactToThePointerEachOnItsOwn_data()
    {
        QTest::addColumn<bool>("home");
        QTest::newRow("HomePage") << true;
        QTest::newRow("Technology Support") << false;
    }
    void linksReactToThePointerEachOnItsOwn()
    {
        QFETCH(bool, home);
        WindowFixture w;
        w.start();
        openAbout(w, [&](AboutDialog *box) {
            const AboutParts p(box);
            LinkLabel *link = home ? p.homePageLink : p.supportLink;
            LinkLabel *other = home ? p.supportLink : p.homePageLink;
            // The pointer moves through the window as a user's would, so that the window
            // system's enter and leave events reach the links.
            const auto moveTo = [box](QWidget *target) {
                QTest::mouseMove(box->windowHandle(), target->mapTo(box, target->rect().center()));
            };
            moveTo(p.topBand);
            QTRY_VERIFY(!link->isHovered() && !other->isHovered());
            QVERIFY(looksNormal(link) && looksNormal(other));
            QVERIFY(pixelsOf(link, Qt::blue) > 10);
            QCOMPARE(pixelsOf(link, Qt::red), 0);

            moveTo(link);
            QTRY_VERIFY(link->isHovered());
            QVERIFY(looksHovered(link));
            QVERIFY(looksNormal(other));
            QVERIFY(pixelsOf(link, Qt::red) > 10);

            moveTo(p.versionLabel);
            QTRY_VERIFY(!link->isHovered());
            QVERIFY(looksNormal(link) && looksNormal(other));
            QCOMPARE(pixelsOf(link, Qt::red), 0);
            p.closeButton->click();
        });
        QCOMPARE(w.openedUrls, QList<QUrl>());
    }

    void linksShowAPointingHand()
    {
        WindowFixture w;
        w.start();
        openAbout(w, [&](AboutDialog *box) {
            const AboutParts p(box);
            QCOMPARE(p.homePageLink->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(p.supportLink->cursor().shape(), Qt::PointingHandCursor);
            QVERIFY(p.homePageLabel->cursor().shape() != Qt::PointingHandCursor);
            QVERIFY(p.version->cursor().shape() != Qt::PointingHandCursor);
            p.closeButton->click();
        });
    }

    void linksOpenTheirAddresses_data()
    {
        QTest::addColumn<bool>("home");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("home page") << true << QUrl("https://tavrin.example.org/");
        QTest::newRow("support mailbox") << false << QUrl("mailto:support@tavrin.example.org");
    }
    void linksOpenTheirAddresses()
    {
        QFETCH(bool, home);
        QFETCH(QUrl, url);
        WindowFixture w;
        w.start();
        openAbout(w, [&](AboutDialog *box) {
            const AboutParts p(box);
            LinkLabel *link = home ? p.homePageLink : p.supportLink;
            QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
            QCOMPARE(w.openedUrls, QList<QUrl>({url}));
            // Only a left click released over the link counts.
            QTest::mouseClick(link, Qt::RightButton, {}, link->rect().center());
            QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
            QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 40, link->height() / 2));
            QCOMPARE(w.openedUrls.size(), 1);
            QVERIFY(box->isVisible());   // the box stays open
            p.closeButton->click();
        });
        QCOMPARE(w.openedUrls, QList<QUrl>({url}));
        QCOMPARE(w.errors(), QStringList());
    }

    void helpContentsHandsTheManualToTheDesktop()
    {
        WindowFixture w;
        w.start();
        QVERIFY(!QFile::exists(w.path("tavrinsoundrecorder.html")));
        const QStringList before = stateOf(w);
        const int windows = int(QApplication::topLevelWidgets().size());

        // F1 is a window shortcut: it needs the main window active.
        w.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        QTest::keyClick(w.window.get(), Qt::Key_F1);
        QCOMPARE(w.openedUrls, QList<QUrl>({QUrl::fromLocalFile(w.path("tavrinsoundrecorder.html"))}));
        w.find<QToolButton>("helpButton")->click();
        QCOMPARE(w.openedUrls.size(), 2);
        QCOMPARE(w.openedUrls.last(), w.openedUrls.first());
        QCOMPARE(w.find<QToolButton>("helpButton")->toolTip(), QString("Help Contents"));

        // Nothing of the program's own: no box, no window, no state changed.
        QCOMPARE(w.boxes.size(), 0);
        QCOMPARE(int(QApplication::topLevelWidgets().size()), windows);
        QCOMPARE(stateOf(w), before);
    }

    void homepageOpensTheHomePage()
    {
        WindowFixture w;
        w.start();
        const QStringList before = stateOf(w);
        w.trigger("homePageAction");
        QCOMPARE(w.openedUrls, QList<QUrl>({QUrl("https://tavrin.example.org/")}));
        QCOMPARE(QUrl(homePageAddress), w.openedUrls.first());
        QCOMPARE(w.boxes.size(), 0);
        QCOMPARE(stateOf(w), before);
    }

    void aboutFromTheToolBar()
    {
        WindowFixture w;
        w.start();
        QCOMPARE(w.find<QToolButton>("aboutButton")->toolTip(), QString("About"));
        ModalDriver<AboutDialog> driver([](AboutDialog *box) { AboutParts(box).closeButton->click(); });
        w.find<QToolButton>("aboutButton")->click();
        QCOMPARE(driver.runs, 1);
        QVERIFY(!driver.closedByDriver);
    }
};

QTEST_MAIN(TestAboutHelp)
#include "tst_about_help.moc"
