#include "fakes/fake_engine.h"
#include "session/recording_settings.h"
#include "session/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class TestRecordingSettings : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString iniPath() const { return m_dir.filePath("setup.ini"); }
    void put(const QByteArray &text)
    {
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    // Loads as start-up does and hands the format to a file component; returns the engine
    // calls made.
    QStringList loadAndApply(RecordingSettings &s)
    {
        fake::FakeEngine e;
        auto file = e.createFile("writer");
        auto enc = e.createLameEncoder("mp3Encoder");
        e.log.clear();
        s = loadRecordingSettings(IniFile(iniPath()), "/prog/Recording/");
        applyOutputFormat(s, *file, *enc);
        return e.log.calls;
    }

private slots:
    void init() { QFile::remove(iniPath()); }

    void withoutFileTheDefaultsApplyAndNothingIsWritten()
    {
        RecordingSettings s;
        const QStringList calls = loadAndApply(s);
        QCOMPARE(s.saveFormat, QString(".mp3"));
        QCOMPARE(s.savePath, QString("/prog/Recording/"));
        QCOMPARE(s.mp3Bitrate, 128);
        QCOMPARE(s.mp3Frequency, 44100);
        QCOMPARE(s.wavFrequency, 44100);
        QCOMPARE(s.wavChannels, 2);
        QCOMPARE(s.wavBitsPerSample, 16);
        QCOMPARE(s.wmaProfile, 38);
        QCOMPARE(s.timeLimitSeconds, 0);
        QCOMPARE(s.splitEnabled, false);
        QCOMPARE(s.splitSeconds, 0);
        QCOMPARE(calls, QStringList({
            "writer.SetActive(true)", "writer.SetMp3Format(44100,128,2)",
            "mp3Encoder.SetFrequency(44100)", "mp3Encoder.SetBitrate(128)",
            "writer.SetMp3Encoder(encoder)"}));
        QVERIFY(!QFile::exists(iniPath()));
    }

    void formatStep_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("formatCalls");
        QTest::newRow("upper-case .WAV")
            << QByteArray("[options]\nsaveformat=.WAV\n[wav]\nfreq=22050\nch=1\nbps=8\n")
            << QStringList{"writer.SetWavFormat(22050,1,8)"};
        QTest::newRow("wma")
            << QByteArray("[options]\nsaveformat=.wma\n[wma]\nprofile=12\n")
            << QStringList{"writer.SetWmaProfile(12)"};
        QTest::newRow("flac")
            << QByteArray("[options]\nsaveformat=.FLAC\n[flac]\nfreq=96000\nbps=24\nch=1\nlevel=8\n")
            << QStringList{"writer.SetFlacFormat(96000,1,24,8)"};
        QTest::newRow("ogg") << QByteArray("[options]\nsaveformat=.ogg\n[ogg]\nquality=-1\n")
                             << QStringList{"writer.SetVorbisQuality(-1)"};
        QTest::newRow("opus") << QByteArray("[options]\nsaveformat=.opus\n[opus]\nbitrate=32\nch=1\n")
                              << QStringList{"writer.SetOpusFormat(32,1)"};
        // A format the program does not write is recorded as MP3.
        QTest::newRow("unknown format") << QByteArray("[options]\nsaveformat=.aac\n")
                                        << QStringList{"writer.SetMp3Format(44100,128,2)"};
        QTest::newRow("empty format") << QByteArray("[options]\nsaveformat=\n")
                                      << QStringList{"writer.SetMp3Format(44100,128,2)"};
        QTest::newRow("rate outside the catalogue passes unchanged")
            << QByteArray("[mp3]\nfreq=32000\n")
            << QStringList{"writer.SetMp3Format(32000,128,2)"};
    }
    void formatStep()
    {
        QFETCH(QByteArray, ini);
        QFETCH(QStringList, formatCalls);
        put(ini);
        RecordingSettings s;
        const QStringList calls = loadAndApply(s);
        QCOMPARE(calls.value(0), QString("writer.SetActive(true)"));
        QCOMPARE(calls.mid(1, calls.size() - 4), formatCalls);
        // Whatever the format, the encoder gets the MP3 values and the component gets it.
        QCOMPARE(calls.mid(calls.size() - 3).join(";"),
                 QStringLiteral("mp3Encoder.SetFrequency(%1);mp3Encoder.SetBitrate(128);"
                                "writer.SetMp3Encoder(encoder)")
                     .arg(s.mp3Frequency));
    }

    void badNumbersReadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("bitrate");
        QTest::newRow("letters") << QByteArray("fast");
        QTest::newRow("empty") << QByteArray("");
    }
    void badNumbersReadAsDefaults()
    {
        QFETCH(QByteArray, bitrate);
        put("[mp3]\nbitrate=" + bitrate + "\n[options]\nsavepath=\n");
        RecordingSettings s;
        loadAndApply(s);
        QCOMPARE(s.mp3Bitrate, 128);
        QCOMPARE(s.savePath, QString());   // present but empty stays empty
    }

    // Recordings never go where the program happened to be started from.
    void aRelativeSaveFolderIsUnderHome_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("used");
        QTest::newRow("relative") << "rec/" << QDir::homePath() + "/rec/";
        QTest::newRow("under ~") << "~/Music/rec" << QDir::homePath() + "/Music/rec";
        QTest::newRow("absolute, as typed") << "/x//y/" << "/x//y/";
    }
    void aRelativeSaveFolderIsUnderHome()
    {
        QFETCH(QString, stored);
        QFETCH(QString, used);
        put("[options]\nsavepath=" + stored.toUtf8() + "\n");
        RecordingSettings s;
        loadAndApply(s);
        QCOMPARE(s.savePath, used);
        QCOMPARE(absoluteSaveFolder(stored), used);   // as Options' OK stores it
    }

    void saveWritesEveryKeyInOrder()
    {
        RecordingSettings s;
        s.savePath = "/home/u/rec/";
        s.saveFormat = ".wav";
        s.timeLimitSeconds = -1;
        s.mp3Bitrate = 128;
        s.mp3Frequency = 44100;
        s.wavFrequency = 22050;
        s.wavChannels = 2;
        s.wavBitsPerSample = 8;
        s.wmaProfile = 38;
        IniFile ini(iniPath());
        saveRecordingSettings(ini, s, 5, 10);
        QFile f(iniPath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[options]\nsavepath=/home/u/rec/\nsaveformat=.wav\ntimelimit=-1\nresume=1\nprerecord=0\n"
                                         "[mp3]\nbitrate=128\nfreq=44100\nind=5\n"
                                         "[wav]\nfreq=22050\nch=2\nbps=8\nind=10\n"
                                         "[wma]\nprofile=38\n"
                                         "[flac]\nfreq=44100\nbps=16\nch=2\nlevel=5\n[ogg]\nquality=5\n"
                                         "[opus]\nbitrate=96\nch=2\n"
                                         "[trigger]\non=0\nlevel=-30\nsilence=3\nnewfile=0\n"));
    }

    void refusedSaveReportsThePath()
    {
        IniFile ini(m_dir.path());   // a folder cannot be written as a file
        RecordingSettings s;
        try {
            saveRecordingSettings(ini, s, 0, 0);
            QFAIL("not refused");
        } catch (const SettingsError &e) {
            QCOMPARE(QString::fromStdString(e.what()), QStringLiteral("Unable to write to %1").arg(m_dir.path()));
        }
    }
};

QTEST_GUILESS_MAIN(TestRecordingSettings)
#include "tst_recording_settings.moc"
