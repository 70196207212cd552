// The list's and the status bar's texts, and the name a rename gives.
#include "session/file_operations.h"
#include "session/format_text.h"

#include <QtTest>

class TestFormatText : public QObject {
    Q_OBJECT

private slots:
    void formatMinSec_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "00:00";
        QTest::newRow("one digit each") << qint64(5) << "00:05";
        QTest::newRow("59 s") << qint64(59) << "00:59";
        QTest::newRow("one minute") << qint64(60) << "01:00";
        QTest::newRow("65 s") << qint64(65) << "01:05";
        QTest::newRow("two digits of seconds") << qint64(71) << "01:11";
        QTest::newRow("9:59") << qint64(599) << "09:59";
        QTest::newRow("600 s") << qint64(600) << "10:00";
        QTest::newRow("10:05") << qint64(605) << "10:05";
        QTest::newRow("10:10") << qint64(610) << "10:10";
        QTest::newRow("no hour field") << qint64(3725) << "62:05";
        QTest::newRow("three digits of minutes") << qint64(6000) << "100:00";
    }
    void formatMinSec()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(minutesAndSeconds(seconds), text);
    }

    void diskTime_data()
    {
        QTest::addColumn<qint64>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("unknown") << qint64(-1) << "";
        QTest::newRow("seconds") << qint64(45) << "45 s left on disk";
        QTest::newRow("minutes") << qint64(12 * 60 + 59) << "12 min left on disk";
        QTest::newRow("hours") << qint64(2 * 3600 + 41 * 60 + 7) << "2 h 41 min left on disk";
    }
    void diskTime()
    {
        QFETCH(qint64, seconds);
        QFETCH(QString, text);
        QCOMPARE(::diskTimeText(seconds), text);
    }

    void shortFormatText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shortText");
        QTest::newRow("MPEG 1.0, two blanks") << "MPEG 1.0 layer-3: 128 kbps" << "MP3  128 kbps";
        QTest::newRow("MPEG 2.0") << "MPEG 2.0 layer-3: 64 kbps, 22050 Hz, Stereo"
                                  << "MP3  64 kbps, 22050 Hz, Stereo";
        QTest::newRow("layer in any case") << "MPEG 1.0 LAYER-2: 192 kbps" << "MP2  192 kbps";
        QTest::newRow("no MPEG in exact case") << "mpeg 1.0 layer-3: 128 kbps" << "mpeg 1.0 layer-3  128 kbps";
        QTest::newRow("any-case match once MPEG is there") << "mpeg 2.0 layer-2 (MPEG)" << "MP2 (MPEG)";
        QTest::newRow("first occurrence only") << "MPEG 1.0 layer-3 MPEG 1.0 layer-3: x" << "MP3 MPEG 1.0 layer-3  x";
        QTest::newRow("both versions") << "MPEG 1.0 layer-3 or MPEG 2.0 layer-2" << "MP3 or MP2";
        QTest::newRow("MPEG 2.5 kept") << "MPEG 2.5 layer-3: 32 kbps" << "MPEG 2.5 layer-3  32 kbps";
        QTest::newRow("first colon only") << "PCM: 44100 Hz: 16 bit" << "PCM  44100 Hz: 16 bit";
        QTest::newRow("no colon") << "Ogg Vorbis 44100 Hz" << "Ogg Vorbis 44100 Hz";
        QTest::newRow("empty") << "" << "";
    }
    void shortFormatText()
    {
        QFETCH(QString, text);
        QFETCH(QString, shortText);
        QCOMPARE(::shortFormatText(text), shortText);
    }

    void renamedFileName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::newRow("typed extension replaced") << "take2.wav" << "Untitled1.mp3" << "take2.mp3";
        QTest::newRow("no typed extension") << "take2" << "Untitled1.mp3" << "take2.mp3";
        QTest::newRow("only an extension") << ".wav" << "Untitled1.mp3" << ".mp3";
        QTest::newRow("last extension only") << "a.b.c" << "x.wav" << "a.b.wav";
        QTest::newRow("trailing dot") << "take2." << "x.mp3" << "take2.mp3";
        QTest::newRow("blanks only") << "   " << "x.mp3" << "   .mp3";
        QTest::newRow("old name without extension") << "take2.wav" << "noext" << "take2";
        QTest::newRow("old name only an extension") << "take2" << ".mp3" << "take2.mp3";
    }
    void renamedFileName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QCOMPARE(::renamedFileName(typed, oldName), newName);
    }
};

QTEST_GUILESS_MAIN(TestFormatText)
#include "tst_format_text.moc"
