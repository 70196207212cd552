// The program without its window: --record, --list-sources and --remote run as a user's
// shell runs them, with no display, against the private sound server; the remote control
// drives a window on a private session bus.
#include "common/private_bus.h"
#include "real_window.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

#include <signal.h>
#include <unistd.h>

using e2e::SineSource;

namespace {

// A copy of the program in a folder of its own, so that its setup.ini and Recording/ are the
// test's; runs it as a terminal-less shell would.
struct Program {
    QTemporaryDir dir;
    QString path;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();

    Program()
    {
        path = dir.filePath("tavrin-sound-recorder");
        // A second name of the built program where the file system allows, else a copy.
        if (::link(PROGRAM, QFile::encodeName(path).constData()) != 0)
            QFile::copy(QStringLiteral(PROGRAM), path);
        // No display of any kind: these modes must not need one.
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        writeSettings("[tips]\nshowtip=0\n");
    }
    QString file(const QString &name) const { return dir.filePath(name); }
    void writeSettings(const QByteArray &text)
    {
        QFile f(file("setup.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    void start(QProcess &p, const QStringList &arguments) const
    {
        p.setProcessEnvironment(environment);
        p.start(path, arguments);
        QVERIFY(p.waitForStarted());
    }

    struct Result {
        int status = -1;
        QString out, err;
    };
    Result run(const QStringList &arguments, int timeoutMs = 30000) const
    {
        QProcess p;
        start(p, arguments);
        Result r;
        if (!p.waitForFinished(timeoutMs)) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
};

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

// What a run may have left in the program's folder, its journals folder and settings aside.
QStringList recordings(const QString &folder)
{
    QStringList found = entries(folder);
    found.removeAll("journals");
    found.removeAll("setup.ini");
    return found;
}

using testbus::PrivateBus;

// A file's markers as "seconds name", the seconds to a tenth; why not, when unreadable.
QStringList markersOf(const QString &path, int rate)
{
    QStringList out;
    try {
        for (const engine::FileMarker &m : engine::createEngineFactory()->createFile("reader")->GetMarkers(path))
            out << QStringLiteral("%1 %2").arg(double(m.frame) / rate, 0, 'f', 1).arg(m.name);
    } catch (const std::exception &e) {
        out << QString::fromUtf8(e.what());
    }
    return out;
}

// The chapters ffprobe sees, as "start title".
QStringList chaptersOf(const QString &path)
{
    const QString text = testaudio::run("ffprobe", {"-v", "error", "-show_chapters", "-of", "csv=p=0", "-show_entries",
                                                    "chapter=start_time:chapter_tags=title", path});
    return text.split('\n', Qt::SkipEmptyParts);
}

// The ids of a RIFF file's chunks, in order.
QStringList riffChunks(const QString &path)
{
    QFile f(path);
    QStringList ids;
    if (!f.open(QIODevice::ReadOnly) || f.read(12).size() != 12)
        return ids;
    while (!f.atEnd()) {
        const QByteArray head = f.read(8);
        if (head.size() < 8)
            break;
        const quint32 size = quint8(head[4]) | quint8(head[5]) << 8 | quint8(head[6]) << 16 | quint32(quint8(head[7])) << 24;
        QString id = QString::fromLatin1(head.left(4));
        if (id == "LIST")
            id += "/" + QString::fromLatin1(f.peek(4));
        ids << id;
        f.seek(f.pos() + size + (size & 1));
    }
    return ids;
}

// Sends SIGUSR1 once the recording's file holds about `seconds` of sound.
void markAfter(QProcess &p, double seconds)
{
    QTest::qWait(int(seconds * 1000));
    ::kill(pid_t(p.processId()), SIGUSR1);
}

}  // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void recordsTheTone_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<double>("seconds");   // in all the files
        QTest::newRow("3 s of FLAC") << QStringList{"-d", "3"} << "talk.flac" << QStringList{"talk.flac"} << 3.0;
        QTest::newRow("split every second")
            << QStringList{"--duration=3", "--split", "1"} << "talk.wav"
            << QStringList{"talk.wav", "talk 2.wav", "talk 3.wav"} << 3.0;
        QTest::newRow("into a folder") << QStringList{"-d", "2"} << "." << QStringList{"Untitled1.mp3"} << 2.0;
    }
    void recordsTheTone()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, output);
        QFETCH(QStringList, written);
        QFETCH(double, seconds);
        SineSource sine(1000);
        Program program;
        QDir(program.dir.path()).mkdir("out");
        const QString out = program.file("out/" + output);
        const Program::Result r = program.run(QStringList{"--record"} + options + QStringList{out});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.status, 0);
        QStringList expected;
        for (const QString &name : written)
            expected << program.file("out/" + name);
        QCOMPARE(r.out.split('\n', Qt::SkipEmptyParts), expected);
        double total = 0;
        for (const QString &path : expected) {
            const e2e::Decoded d = e2e::decode(path);
            total += d.seconds();
            QCOMPARE(qRound(testaudio::dominantFrequency(d.left(), d.rate, size_t(d.rate / 10))), 1000);
        }
        QVERIFY2(std::abs(total - seconds) < 0.25, qPrintable(QString::number(total)));
    }

    // "Microphone + computer sound" with each side apart: a 440 Hz voice into the microphone,
    // 1 kHz music to the output. The microphone's file holds only the voice, the computer's
    // only the music, the mix both, and the three hold the same frames and the same marker,
    // split alike.
    void eachSideInItsOwnFile_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("language");
        QTest::newRow("one part") << QStringList{"-s", "Microphone + computer sound", "-d", "3"} << QStringList{"talk"}
                                  << QString();
        // The mix's id names it in any language, where its label is translated.
        QTest::newRow("split every second, in German, by id")
            << QStringList{"-s", "mix:microphone+computer", "-d", "2", "--split", "1"} << QStringList{"talk", "talk 2"}
            << "de";
    }
    void eachSideInItsOwnFile()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, parts);
        QFETCH(QString, language);
        SineSource voice(440);
        QTemporaryDir musicDir;
        const QString music = musicDir.filePath("music.wav");
        testaudio::run("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=1000:sample_rate=44100:duration=60",
                                  "-ac", "2", music});
        QProcess speakers, speakersAwake;
        speakers.start("paplay", {"--device=tavrin_null", music});
        speakersAwake.setStandardOutputFile(QProcess::nullDevice());
        speakersAwake.start("parec", {"--device=tavrin_null.monitor", "--latency-msec=20"});
        QVERIFY(speakers.waitForStarted() && speakersAwake.waitForStarted());
        QTest::qWait(1000);

        Program program;
        if (!language.isEmpty())
            program.environment.insert("LANGUAGE", language);
        QProcess p;
        program.start(p, QStringList{"--record", "--separate"} + options + QStringList{program.file("talk.flac")});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(program.file("talk (computer).flac")).size() > 0, 10000);
        markAfter(p, 1.3);
        QVERIFY(p.waitForFinished(15000));
        speakers.kill();
        speakersAwake.kill();
        speakers.waitForFinished();
        speakersAwake.waitForFinished();
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardError()), QString());
        QCOMPARE(p.exitCode(), 0);
        QStringList expected;
        for (const QString &part : parts)
            for (const char *side : {"", " (microphone)", " (computer)"})
                expected << program.file(part + side + ".flac");
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts), expected);
        int marked = 0;
        std::vector<float> runs[3];   // the mix, the microphone, the computer: every part's left channel

        for (int p = 0; p < parts.size(); ++p) {
            const e2e::Decoded mix = e2e::decode(expected[p * 3]);
            const e2e::Decoded microphone = e2e::decode(expected[p * 3 + 1]);
            const e2e::Decoded computer = e2e::decode(expected[p * 3 + 2]);
            qInfo("%s: %.3f s, %.3f s, %.3f s", qPrintable(parts[p]), mix.seconds(), microphone.seconds(),
                  computer.seconds());
            QVERIFY(mix.seconds() > 0.5);
            QVERIFY(std::abs(microphone.seconds() - mix.seconds()) <= 0.01);
            QVERIFY(std::abs(computer.seconds() - mix.seconds()) <= 0.01);
            const QStringList markers = markersOf(expected[p * 3], mix.rate);
            QCOMPARE(markersOf(expected[p * 3 + 1], mix.rate), markers);
            QCOMPARE(markersOf(expected[p * 3 + 2], mix.rate), markers);
            marked += int(markers.size());
            // Nothing of the other side leaks into a side's file.
            QVERIFY2(testaudio::toneLevelDb(microphone.left(), mix.rate, 1000) < -50, qPrintable(parts[p]));
            QVERIFY2(testaudio::toneLevelDb(computer.left(), mix.rate, 440) < -50, qPrintable(parts[p]));
            for (int t = 0; t < 3; ++t) {
                const std::vector<float> left = (t == 0 ? mix : t == 1 ? microphone : computer).left();
                runs[t].insert(runs[t].end(), left.begin(), left.end());
            }
        }
        // Each file holds its own: a side joins a moment after the start (later on a busy
        // machine), and the mix reads the following side a little faster or slower while it
        // lines the two up, which moves a tone off its exact frequency over a whole run; so
        // the tone is looked for in quarter seconds.
        const auto heard = [](const std::vector<float> &run, double hz) {
            double loudest = -300;
            for (size_t at = 0; at + 11025 <= run.size(); at += 11025)
                loudest = std::max(loudest, testaudio::toneLevelDb({run.begin() + long(at), run.begin() + long(at + 11025)}, 44100, hz));
            return loudest;
        };
        const QString levels = QString("mix %1 / %2 dB, microphone %3 dB, computer %4 dB")
                                   .arg(heard(runs[0], 440), 0, 'f', 1).arg(heard(runs[0], 1000), 0, 'f', 1)
                                   .arg(heard(runs[1], 440), 0, 'f', 1).arg(heard(runs[2], 1000), 0, 'f', 1);
        QVERIFY2(heard(runs[0], 440) > -30 && heard(runs[0], 1000) > -30, qPrintable(levels));
        QVERIFY2(heard(runs[1], 440) > -30, qPrintable(levels));
        QVERIFY2(heard(runs[2], 1000) > -30, qPrintable(levels));
        QCOMPARE(marked, 1);
        QCOMPARE(recordings(program.dir.path()).size(), expected.size() + 1);   // and the program
    }

    void anInterruptFinishesTheFile()
    {
        SineSource sine(1000);
        Program program;
        const QString out = program.file("talk.ogg");
        QProcess p;
        program.start(p, {"--record", out});
        // The file exists (its headers and the markers' room) before capture has begun: two
        // seconds later it holds more than one, however slowly capture started.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 8000, 10000);
        QTest::qWait(2000);
        ::kill(pid_t(p.processId()), SIGINT);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardOutput()), out + "\n");
        const e2e::Decoded d = e2e::decode(out);
        QVERIFY2(d.seconds() > 1.0, qPrintable(QString::number(d.seconds())));
        QCOMPARE(testaudio::probe(out, "duration").toDouble() > 1.0, true);
        // Finished as Stop finishes it: no journal is left for the next start to repair.
        QCOMPARE(entries(program.file("journals")), QStringList());
    }

    // SIGUSR1 marks the recording where capture is; the marker is in the file as the format
    // keeps chapters, for the engine and for ffprobe (a cue chunk and its labels in WAV).
    void markersInEveryFormat_data() { testaudio::addFormatRows("extension"); }
    void markersInEveryFormat()
    {
        QFETCH(QString, extension);
        SineSource sine(1000);
        Program program;
        const QString out = program.file("talk" + extension);
        QProcess p;
        program.start(p, {"--record", "-d", "3", out});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 0, 10000);
        markAfter(p, 1.5);
        QVERIFY(p.waitForFinished(15000));
        QCOMPARE(p.exitCode(), 0);
        const int rate = e2e::decode(out).rate;
        const QStringList markers = markersOf(out, rate);
        QCOMPARE(markers.size(), 1);
        const double at = markers.first().section(' ', 0, 0).toDouble();
        QVERIFY2(at > 0.5 && at < 2.8, qPrintable(markers.first()));
        QCOMPARE(markers.first().section(' ', 1), QString("Marker 1"));
        if (extension == ".wav") {
            QCOMPARE(riffChunks(out).mid(0, 4), QStringList({"fmt ", "data", "cue ", "LIST/adtl"}));
        } else {
            const QStringList chapters = chaptersOf(out);
            QCOMPARE(chapters.size(), 1);
            QVERIFY2(std::abs(chapters.first().section(',', 0, 0).toDouble() - at) < 0.06, qPrintable(chapters.first()));
            QCOMPARE(chapters.first().section(',', 1), QString("Marker 1"));
        }
    }

    // At a split each marker goes into the part it falls in, timed from that part's start;
    // a recording killed with a marker in it gets the marker at the next start's repair.
    void markersOverASplitAndACrash()
    {
        SineSource sine(1000);
        Program program;
        const QString out = program.file("talk.flac");
        QProcess p;
        program.start(p, {"--record", "-d", "4", "--split", "2", out});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(out).size() > 0, 10000);
        markAfter(p, 1.0);
        markAfter(p, 2.0);
        QVERIFY(p.waitForFinished(15000));
        QCOMPARE(QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 QStringList({out, program.file("talk 2.flac")}));
        const QStringList first = markersOf(out, 44100), second = markersOf(program.file("talk 2.flac"), 44100);
        QCOMPARE(first.size(), 1);
        QCOMPARE(second.size(), 1);
        QVERIFY2(first.first().section(' ', 0, 0).toDouble() < 2.0, qPrintable(first.first()));
        QVERIFY2(second.first().section(' ', 0, 0).toDouble() < 2.0, qPrintable(second.first()));

        // Killed while keeping each side of the mix apart: every file is repaired and marked.
        const QString killed = program.file("killed.wav");
        const QStringList killedFiles{killed, program.file("killed (microphone).wav"), program.file("killed (computer).wav")};
        QProcess k;
        program.start(k, {"--record", "--separate", "-s", "Microphone + computer sound", killed});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(killed).size() > 0, 10000);
        markAfter(k, 1.0);
        QTest::qWait(1500);
        k.kill();
        QVERIFY(k.waitForFinished(5000));
        // Not in the files yet: their journals hold it.
        for (const QString &file : killedFiles)
            QVERIFY(!markersOf(file, 44100).join(',').contains("Marker 1"));
        // The next start repairs the files and writes the marker into each.
        QCOMPARE(program.run({"--record", "-d", "1", program.file("next.wav")}).status, 0);
        for (const QString &file : killedFiles) {
            const QStringList repaired = markersOf(file, 44100);
            QCOMPARE(repaired.size(), 1);
            QCOMPARE(repaired.first().section(' ', 1), QString("Marker 1"));
            QCOMPARE(riffChunks(file).mid(0, 3), QStringList({"fmt ", "data", "cue "}));
            QVERIFY2(e2e::decode(file).seconds() > 1.0, qPrintable(file));
        }
    }

    // --monitor for an input that would play back into the output: a warning, and the
    // recording goes on without it.
    void aMonitorThatWouldPlayBackIsAWarning()
    {
        Program program;
        const QString out = program.file("talk.wav");
        const Program::Result r = program.run({"--record", "-d", "1", "--monitor", "-s", "tavrin_null.monitor", out});
        QCOMPARE(r.status, 0);
        QVERIFY2(r.err.startsWith("tavrin-sound-recorder: warning: Listening to the input is not possible"), qPrintable(r.err));
        QVERIFY2(r.err.contains("play back into itself"), qPrintable(r.err));
        QCOMPARE(r.out, out + "\n");
    }

    void mistakesAndRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");   // "@" stands for the test's folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");            // a part of the message
        QTest::newRow("existing file") << QStringList{"--record", "-d", "1", "@/kept.flac"} << 1
                                       << "Cannot write @/kept.flac: the file exists";
        QTest::newRow("missing folder") << QStringList{"--record", "-d", "1", "@/nowhere/talk.wav"} << 1
                                        << "the folder @/nowhere does not exist";
        QTest::newRow("unknown source") << QStringList{"--record", "-d", "1", "-s", "no such input", "@/talk.wav"}
                                        << 1 << "Unknown source 'no such input'";
        QTest::newRow("unknown extension") << QStringList{"--record", "@/talk.txt"} << 2 << "talk.txt";
        QTest::newRow("bad duration") << QStringList{"--record", "-d", "soon", "@/talk.wav"} << 2 << "--duration";
        QTest::newRow("bad level") << QStringList{"--record", "--on-sound", "-80", "@/talk.wav"} << 2 << "--on-sound";
        QTest::newRow("bad time") << QStringList{"--record", "--at", "25:00", "@/talk.wav"} << 2 << "--at";
        QTest::newRow("unknown option") << QStringList{"--record", "--loud", "@/talk.wav"} << 2 << "Unknown option 'loud'";
        QTest::newRow("no window running") << QStringList{"--remote", "status"} << 1
                                           << "Tavrin Sound Recorder is not running.";
    }
    void mistakesAndRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        Program program;
        PrivateBus bus;   // on which no window runs
        program.environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address);
        {
            QFile kept(program.file("kept.flac"));
            QVERIFY(kept.open(QIODevice::WriteOnly));
            kept.write("kept as it was");
        }
        const QStringList before = recordings(program.dir.path());
        arguments.replaceInStrings("@", program.dir.path());
        const Program::Result r = program.run(arguments);
        QCOMPARE(r.status, status);
        QVERIFY2(r.err.contains(said.replace("@", program.dir.path())), qPrintable(r.err));
        QCOMPARE(r.out, QString());
        // Nothing made, nothing touched.
        QCOMPARE(recordings(program.dir.path()), before);
        QFile kept(program.file("kept.flac"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept as it was"));
    }

    void listsTheInputs()
    {
        SineSource sine(1000);
        Program program;
        const Program::Result r = program.run({"--list-sources"});
        QCOMPARE(r.status, 0);
        const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
        // The test's input is the default one; the mix is offered last.
        QVERIFY2(lines.filter(QRegularExpression("^tavrin_rec\\.monitor\\t[^\\t]+\\tdefault$")).size() == 1,
                 qPrintable(r.out));
        QCOMPARE(lines.last(), QString("Microphone + computer sound\tMicrophone + computer sound"));
        QCOMPARE(lines.filter(QRegularExpression("\\tdefault$")).size(), 1);
    }

    // A window on a private bus, driven by --remote: a refusal with the window's text, then
    // record, status and stop.
    void remoteControl()
    {
        SineSource sine(1000);
        PrivateBus bus;
        QVERIFY(!bus.address.isEmpty());
        Program program;
        program.environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address);
        const QString rec = program.file("rec");
        program.writeSettings(QStringLiteral("[options]\nsavepath=%1/\nsaveformat=.wav\n[tips]\nshowtip=0\n")
                                  .arg(rec)
                                  .toUtf8());
        // Record is refused while a plain file stands where the save folder should be.
        QFile blocker(rec);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        QProcess window;
        QProcessEnvironment windowEnvironment = program.environment;
        windowEnvironment.insert("QT_QPA_PLATFORM", "offscreen");
        window.setProcessEnvironment(windowEnvironment);
        window.start(program.path, {});
        QVERIFY(window.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(program.run({"--remote", "status"}).status, 0, 15000);

        const Program::Result refused = program.run({"--remote", "record"});
        QCOMPARE(refused.status, 1);
        QVERIFY2(refused.err.contains(rec), qPrintable(refused.err));
        QCOMPARE(program.run({"--remote", "status"}).out.section('\n', 0, 0), QString("Stopped"));

        QVERIFY(QFile::remove(rec));
        QCOMPARE(program.run({"--remote", "record"}).status, 0);
        QTest::qWait(1500);
        QCOMPARE(program.run({"--remote", "marker", "Second speaker"}).status, 0);
        const QStringList status = program.run({"--remote", "status"}).out.split('\n', Qt::SkipEmptyParts);
        QCOMPARE(status.value(0), QString("Recording"));
        QVERIFY2(QRegularExpression("^00:00:0[1-3]\\.\\d{3}$").match(status.value(1)).hasMatch(),
                 qPrintable(status.value(1)));
        QCOMPARE(status.value(2), rec + "/Untitled1.wav");
        QCOMPARE(program.run({"--remote", "stop"}).status, 0);
        QCOMPARE(program.run({"--remote", "status"}).out.section('\n', 0, 0), QString("Stopped"));
        QVERIFY(e2e::decode(rec + "/Untitled1.wav").seconds() > 1.0);
        QCOMPARE(markersOf(rec + "/Untitled1.wav", 44100).value(0).section(' ', 1), QString("Second speaker"));
        const Program::Result notRecording = program.run({"--remote", "marker"});
        QCOMPARE(notRecording.status, 1);
        QCOMPARE(notRecording.err.trimmed(), QString("Not recording"));

        window.terminate();
        QVERIFY(window.waitForFinished(10000));
        QCOMPARE(window.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
