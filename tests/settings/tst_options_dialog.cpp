// The Options dialog on the recording fake engine: what it shows, what OK takes over, applies
// and writes, and what Cancel leaves behind.
#include "app/window_fixture.h"
#include "settings/ini_file.h"
#include "settings/options_dialog.h"
#include "transport/recording_clock.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>

#include <functional>

namespace {

// Opens the dialog with `open` (the menu command unless told) and runs `act` on it while it
// is modal; a dialog that `act` left open is cancelled. Returns whether a dialog came up.
bool whileOpen(const std::function<void()> &open, const std::function<void(TSettingForm *)> &act)
{
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QPointer<TSettingForm> d = qobject_cast<TSettingForm *>(QApplication::activeModalWidget());
        if (!d)
            return;
        seen = true;
        act(d);
        if (d && d->isVisible())
            d->reject();
    });
    open();
    if (!seen)
        QCoreApplication::processEvents();   // let the probe above run while it still may
    return seen;
}

bool withOptions(WindowFixture &w, const std::function<void(TSettingForm *)> &act)
{
    return whileOpen([&] { w.form->MenuOptions->trigger(); }, act);
}

void writeFile(const QString &path, const QByteArray &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

struct Shown {
    QString format;                 // the selected radio's text
    QString hours, minutes, seconds;
    bool limit = false;             // "Stop recording after " selected
    bool timeFieldsEnabled = false;
    bool split = false;
    bool splitFieldsEnabled = false;
    QString splitMinutes, splitSeconds;
    int mp3 = -2, wav = -2, wma = -2;
};

Shown shown(TSettingForm *d)
{
    Shown s;
    s.format = d->rbMP3->isChecked() ? "MP3" : d->rbWAV->isChecked() ? "WAV" : d->rbWMA->isChecked() ? "WMA" : "";
    s.hours = d->edHours->text();
    s.minutes = d->edMinutes->text();
    s.seconds = d->edSeconds->text();
    s.limit = d->rbStopAfter->isChecked();
    s.timeFieldsEnabled = d->edHours->isEnabled() && d->edMinutes->isEnabled() && d->edSeconds->isEnabled();
    s.split = d->chSplitEvery->isChecked();
    s.splitFieldsEnabled = d->edSplitMinutes->isEnabled() && d->edSplitSeconds->isEnabled();
    s.splitMinutes = d->edSplitMinutes->text();
    s.splitSeconds = d->edSplitSeconds->text();
    s.mp3 = d->cbMP3->currentIndex();
    s.wav = d->cbWAV->currentIndex();
    s.wma = d->cbWMA->currentIndex();
    return s;
}

void type(UpDownField *field, const QString &text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

}  // namespace

class TestOptionsDialog : public QObject {
    Q_OBJECT

private slots:
    void looksFinishedAtItsFixedSize()
    {
        WindowFixture w;
        w.start();
        QVERIFY(withOptions(w, [&](TSettingForm *d) {
            if (const QByteArray shot = qgetenv("TAVRIN_OPTIONS_SHOT"); !shot.isEmpty())
                d->grab().save(QString::fromLocal8Bit(shot));
            QCOMPARE(d->windowTitle(), QString("Options"));
            QCOMPARE(d->size(), QSize(319, 419));
            QCOMPARE(d->minimumSize(), d->maximumSize());
            QVERIFY(d->isModal());
            const Qt::WindowFlags flags = d->windowFlags();
            QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint) && !flags.testFlag(Qt::WindowMaximizeButtonHint));
            QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
            // Centred on the main window.
            QVERIFY((d->frameGeometry().center() - w.form->frameGeometry().center()).manhattanLength() <= 2);
            // Everything fits: the layout needs no more than the fixed size, and every
            // control gets at least the room it asks for.
            const QSize needed = d->layout()->minimumSize();
            QVERIFY2(needed.width() <= 319 && needed.height() <= 419,
                     qPrintable(QString("layout needs %1x%2").arg(needed.width()).arg(needed.height())));
            for (QWidget *c : d->findChildren<QWidget *>()) {
                if (!c->isVisible() || c->parentWidget() == nullptr || qobject_cast<QLineEdit *>(c))
                    continue;
                const QRect inDialog(c->mapTo(d, QPoint(0, 0)), c->size());
                QVERIFY2(d->rect().contains(inDialog), qPrintable(c->metaObject()->className()));
                if (qobject_cast<QAbstractButton *>(c) || qobject_cast<QLabel *>(c) || qobject_cast<QComboBox *>(c))
                    QVERIFY2(c->width() >= c->minimumSizeHint().width(),
                             qPrintable(QString("%1 \"%2\" clipped").arg(c->metaObject()->className(),
                                                                       c->property("text").toString())));
            }
        }));
    }
};

QTEST_MAIN(TestOptionsDialog)
#include "tst_options_dialog.moc"
