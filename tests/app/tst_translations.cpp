// The program in other languages: each catalogue is complete for the texts the sources hold
// now (lupdate run afresh over them finds nothing new), keeps every placeholder, and under a
// pseudo-translation that marks every text looked up, no visible text of the windows and
// dialogs, no menu entry and no --help line shows unmarked: none bypassed translation.
#include "window_fixture.h"

#include "cli/command_line.h"
#include "session/recorder_core.h"
#include "ui/about_dialog.h"
#include "ui/options_dialog.h"
#include "ui/schedule_dialog.h"
#include "ui/tip_of_the_day_dialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTranslator>
#include <QTreeWidget>
#include <QXmlStreamReader>

namespace {

// Marks every text it is asked for, whatever its context.
class PseudoTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char *, const char *source, const char * = nullptr, int = -1) const override
    {
        return QStringLiteral("\u27e6") + QString::fromUtf8(source) + QStringLiteral("\u27e7");
    }
};

struct Message {
    QString context, source, translation, type;
};

// The messages of a catalogue; *error says why it could not be read.
QList<Message> readCatalogue(const QString &path, QString *error)
{
    QList<Message> messages;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = f.errorString();
        return messages;
    }
    QXmlStreamReader xml(&f);
    QString context;
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("message"))
            m = Message{context, {}, {}, {}};
        else if (xml.name() == QLatin1String("source"))
            m.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            messages.append(m);
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    static const QRegularExpression marker(QStringLiteral("%L?\\d+"));
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found << it.next().captured().remove(QLatin1Char('L'));
    found.sort();
    found.removeDuplicates();
    return found;
}

bool marked(const QString &text)
{
    return text.contains(QChar(0x27e6));
}

// Texts a user sees that are data, not the program's words: numbers and times, paths, the
// program's name, the devices the fake engine offers.
bool isData(const QString &text)
{
    static const QRegularExpression words(QStringLiteral("[A-Za-z]{2,}"));
    if (!words.match(text).hasMatch())
        return true;
    return text.startsWith(QStringLiteral("Tavrin Sou")) || text.startsWith(QStringLiteral("ID3v"))
           || text.startsWith(QLatin1Char('/')) || text.contains(QStringLiteral(":/"))
           || text.startsWith(QStringLiteral("mailto:"));
}

// Every visible text of widget and its children that shows unmarked.
QStringList unmarkedTexts(QWidget *widget, const QStringList &data)
{
    QStringList found;
    const auto check = [&](const QString &text, const QObject *where) {
        const QString plain = QString(text).remove(QLatin1Char('&'));
        if (!plain.trimmed().isEmpty() && !marked(plain) && !isData(plain) && !data.contains(plain))
            found << QStringLiteral("%1 (%2)").arg(plain, where->objectName().isEmpty()
                                                              ? QString::fromLatin1(where->metaObject()->className())
                                                              : where->objectName());
    };
    QList<QWidget *> all = widget->findChildren<QWidget *>();
    all.prepend(widget);
    for (QWidget *w : all) {
        // What the engine names: a device's lines, the WMA profiles.
        if (w->objectName() == QLatin1String("nameLabel") || w->objectName() == QLatin1String("wmaList"))
            continue;
        if (w->isWindow())
            check(w->windowTitle(), w);
        check(w->toolTip(), w);
        if (auto *l = qobject_cast<QLabel *>(w))
            check(l->text(), l);
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            check(b->text(), b);
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            check(g->title(), g);
        else if (auto *t = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < t->count(); ++i)
                check(t->tabText(i), t);
        } else if (auto *c = qobject_cast<QComboBox *>(w); c && c->objectName() != QLatin1String("genreList")) {
            // (The genres are the tag standard's names.)
            for (int i = 0; i < c->count(); ++i)
                check(c->itemText(i), c);
        } else if (auto *tree = qobject_cast<QTreeWidget *>(w)) {
            for (int i = 0; i < tree->headerItem()->columnCount(); ++i)
                check(tree->headerItem()->text(i), tree);
        }
        for (QAction *a : w->actions()) {
            check(a->text(), a);
            check(a->toolTip() == QString(a->text()).remove(QLatin1Char('&')) ? QString() : a->toolTip(), a);
        }
    }
    found.removeDuplicates();
    return found;
}

}  // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void cataloguesAreComplete_data()
    {
        QTest::addColumn<QString>("catalogue");
        for (const QString &path : QStringLiteral(TAVRIN_TS_FILES).split(QLatin1Char(',')))
            QTest::newRow(qPrintable(QFileInfo(path).completeBaseName())) << path;
    }
    void cataloguesAreComplete()
    {
        QFETCH(QString, catalogue);
        QString error;
        const QList<Message> kept = readCatalogue(catalogue, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(kept.size() > 100);
        QStringList faults;
        for (const Message &m : kept) {
            if (!m.type.isEmpty() || m.translation.trimmed().isEmpty())
                faults << QStringLiteral("%1 %2: \"%3\"").arg(m.type.isEmpty() ? QStringLiteral("empty") : m.type,
                                                               m.context, m.source);
            else if (placeholders(m.translation) != placeholders(m.source))
                faults << QStringLiteral("placeholders differ in %1: \"%2\" -> \"%3\"").arg(m.context, m.source,
                                                                                           m.translation);
        }
        // The texts the sources hold now: lupdate over a copy adds whatever the catalogue
        // lacks as unfinished and marks what it no longer needs as vanished.
        QTemporaryDir dir;
        const QString fresh = dir.filePath(QFileInfo(catalogue).fileName());
        QVERIFY(QFile::copy(catalogue, fresh));
        QFile::setPermissions(fresh, QFile::ReadOwner | QFile::WriteOwner);
        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(TAVRIN_SOURCE_DIR "/src"));
        lupdate.start(QStringLiteral(TAVRIN_LUPDATE),
                      {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                       QStringLiteral("-I"), QStringLiteral(TAVRIN_SOURCE_DIR "/src"),
                       QStringLiteral("@" TAVRIN_TRANSLATED_LIST), QStringLiteral("-ts"), fresh});
        QVERIFY(lupdate.waitForFinished(120000));
        QCOMPARE(lupdate.exitCode(), 0);
        for (const Message &m : readCatalogue(fresh, &error))
            if (!m.type.isEmpty())
                faults << QStringLiteral("%1 in the sources now: %2: \"%3\"")
                              .arg(m.type == QLatin1String("vanished") ? QStringLiteral("no longer")
                                                                       : QStringLiteral("not translated"),
                                   m.context, m.source);
        faults.removeDuplicates();
        QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 40).join(QLatin1Char('\n')) +
                                              QStringLiteral("\n(%1 in all)").arg(faults.size())));
        qInfo("%lld messages", qint64(kept.size()));
    }

    void noTextBypassesTranslation()
    {
        PseudoTranslator pseudo;
        QCoreApplication::installTranslator(&pseudo);
        QStringList unmarked;
        {
            WindowFixture w;
            w.start();
            // What the fake engine names and files show are data.
            QStringList data;
            for (auto *list : w.window->findChildren<QComboBox *>())
                for (int i = 0; i < list->count(); ++i)
                    if (list->objectName().contains(QLatin1String("Device")))
                        data << list->itemText(i);
            unmarked << unmarkedTexts(w.window.get(), data);
            for (QAction *a : w.window->findChildren<QAction *>())
                if (!a->text().isEmpty() && !a->isSeparator() && !marked(a->text()))
                    unmarked << QStringLiteral("%1 (%2)").arg(a->text(), a->objectName());
            OptionsDialog options(*w.core, w.window.get());
            unmarked << unmarkedTexts(&options, data);
            AboutDialog about(w.window.get());
            unmarked << unmarkedTexts(&about, data);
            ScheduleDialog schedule([] { return QDateTime::currentDateTime(); }, w.window.get());
            unmarked << unmarkedTexts(&schedule, data);
            TipOfTheDayDialog tips(w.core->settings(), w.path(QStringLiteral("tips.txt")), w.window.get());
            unmarked << unmarkedTexts(&tips, data);
        }
        // --help, Qt's own lines included: once every marked text is taken out, only option
        // names and the program's name are left.
        QString help = readCommandLine({QStringLiteral("tavrin-sound-recorder"), QStringLiteral("--help")}).message;
        static const QRegularExpression markedText(QStringLiteral("\u27e6[^\u27e6\u27e7]*\u27e7"));
        while (help.contains(markedText))
            help.remove(markedText);
        static const QRegularExpression names(QStringLiteral("(^|\\s)(--?[\\w-]+|tavrin-sound-recorder)"));
        help.remove(names);
        static const QRegularExpression words(QStringLiteral("[A-Za-z]{3,}"));
        for (const QString &line : help.split(QLatin1Char('\n')))
            if (words.match(line).hasMatch())
                unmarked << QStringLiteral("--help: %1").arg(line);
        QCoreApplication::removeTranslator(&pseudo);
        unmarked.removeDuplicates();
        for (const QString &text : std::as_const(unmarked))
            qWarning("not translated: %s", qPrintable(text));
        QVERIFY2(unmarked.isEmpty(), qPrintable(unmarked.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
