#include "session/convert.h"
#include "session/ini_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <future>
#include <optional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// While it lives, no file of this process may grow beyond `bytes`: a write past that fails
// with EFBIG, for root too, as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = m_old;
        tight.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &tight);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// One value read on another thread. A read that still waits after two seconds (opening a
// FIFO for reading waits for a writer) is released by opening the other end, and gives
// nothing.
std::optional<QString> readWithin2s(const QString &path)
{
    auto read = std::async(std::launch::async, [path] {
        return IniFile(path).readString("options", "saveformat", "<default>");
    });
    if (read.wait_for(std::chrono::seconds(2)) == std::future_status::ready)
        return read.get();
    while (read.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }
    return std::nullopt;
}

bool makeSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool ok = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

class TestIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const QString &name = QStringLiteral("setup.ini")) const { return m_dir.filePath(name); }
    void put(const QByteArray &text, const QString &name = QStringLiteral("setup.ini"))
    {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray get(const QString &name = QStringLiteral("setup.ini")) const
    {
        return get(name, m_dir);
    }
    static QByteArray get(const QString &name, const QTemporaryDir &dir)
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void missingFileGivesDefaultsAndIsNotCreated()
    {
        IniFile ini(path(QStringLiteral("none.ini")));
        QCOMPARE(ini.readString("options", "saveformat", ".mp3"), QString(".mp3"));
        QCOMPARE(ini.readInteger("mp3", "bitrate", 128), 128);
        QVERIFY(!QFile::exists(path(QStringLiteral("none.ini"))));
    }

    void reads_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray base = "[Options]\nSaveFormat=.WAV\nsavepath = /tmp/x/ \nempty=\n[mp3]\nbitrate=abc\n";
        QTest::newRow("names ignore case") << base << "options" << "saveformat" << ".WAV";
        QTest::newRow("blanks trimmed") << base << "OPTIONS" << "SAVEPATH" << "/tmp/x/";
        QTest::newRow("empty value stays empty") << base << "options" << "empty" << "";
        QTest::newRow("key of another section") << base << "mp3" << "saveformat" << "<default>";
        QTest::newRow("missing section") << base << "wav" << "freq" << "<default>";
        QTest::newRow("quotes removed") << QByteArray("[a]\nk=\"x y\"\n") << "a" << "k" << "x y";
        QTest::newRow("first duplicate section wins") << QByteArray("[a]\nk=1\n[b]\n[A]\nk=2\n") << "a" << "k" << "1";
        QTest::newRow("no trailing newline") << QByteArray("[a]\nk=last") << "a" << "k" << "last";
        QTest::newRow("crlf") << QByteArray("[a]\r\nk=v\r\n") << "a" << "k" << "v";
        QTest::newRow("binary garbage around")
            << QByteArray("\x00\xff\xfe", 3) + "[a\n\x01\x02=\x03\n[a]\nk=v\n\xff\xff" << "a" << "k" << "v";
        QTest::newRow("overlong line before") << QByteArray(2 * 1024 * 1024, 'x') + "\n[a]\nk=v\n" << "a" << "k" << "v";
    }
    void reads()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        put(text);
        QCOMPARE(IniFile(path()).readString(section, key, "<default>"), expected);
    }

    void integers_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << QByteArray("320") << 320;
        QTest::newRow("negative") << QByteArray("-1") << -1;
        QTest::newRow("hexadecimal") << QByteArray("$7D3") << 2003;
        QTest::newRow("letters") << QByteArray("abc") << 128;
        QTest::newRow("empty") << QByteArray("") << 128;
        QTest::newRow("trailing letters") << QByteArray("12k") << 128;
        QTest::newRow("too large") << QByteArray("99999999999") << 128;
    }
    void integers()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        put("[mp3]\nbitrate=" + value + "\n");
        QCOMPARE(IniFile(path()).readInteger("mp3", "bitrate", 128), expected);
    }

    void firstWriteCreatesFileAndSection()
    {
        IniFile ini(path(QStringLiteral("new.ini")));
        ini.writeString("options", "savepath", "/music/");
        ini.writeInteger("mp3", "bitrate", 192);
        ini.writeInteger("options", "timelimit", -1);
        QCOMPARE(get(QStringLiteral("new.ini")),
                 QByteArray("[options]\nsavepath=/music/\ntimelimit=-1\n[mp3]\nbitrate=192\n"));
        QCOMPARE(ini.readInteger("options", "timelimit", 0), -1);   // no cache between write and read
    }

    void writeKeepsEveryOtherLine_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replace in place")
            << QByteArray("; mine\n[Options]\nSaveFormat = .wav\nother=1\n\n[x]\ny=2\n")
            << QByteArray("; mine\n[Options]\nsaveformat=.mp3\nother=1\n\n[x]\ny=2\n");
        QTest::newRow("add at end of section, before the blank line")
            << QByteArray("[options]\nother=1\n\n[x]\ny=2\n")
            << QByteArray("[options]\nother=1\nsaveformat=.mp3\n\n[x]\ny=2\n");
        QTest::newRow("no trailing newline")
            << QByteArray("[x]\ny=2")
            << QByteArray("[x]\ny=2\n[options]\nsaveformat=.mp3\n");
        QTest::newRow("crlf kept")
            << QByteArray("[x]\r\ny=2\r\n")
            << QByteArray("[x]\r\ny=2\r\n[options]\r\nsaveformat=.mp3\r\n");
        QTest::newRow("first duplicate section is written")
            << QByteArray("[options]\na=1\n[OPTIONS]\nsaveformat=.wav\n")
            << QByteArray("[options]\na=1\nsaveformat=.mp3\n[OPTIONS]\nsaveformat=.wav\n");
        QTest::newRow("garbage kept")
            << QByteArray("\xff\xfe\x00", 3) + "garbage\n[options]\nsaveformat=x\n"
            << QByteArray("\xff\xfe\x00", 3) + "garbage\n[options]\nsaveformat=.mp3\n";
    }
    void writeKeepsEveryOtherLine()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        put(before);
        IniFile(path()).writeString("options", "saveformat", ".mp3");
        QCOMPARE(get(), after);
    }

    void refusedWriteReportsThePath_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a folder") << m_dir.path();
        QTest::newRow("missing folder") << m_dir.filePath("no/such/setup.ini");
        QTest::newRow("under a file") << m_dir.filePath("setup.ini/setup.ini");
    }
    void refusedWriteReportsThePath()
    {
        QFETCH(QString, target);
        put("[a]\n");
        IniFile ini(target);
        try {
            ini.writeString("options", "savepath", "/x/");
            QFAIL("the write was not refused");
        } catch (const SettingsError &e) {
            QCOMPARE(QString::fromStdString(e.what()), QStringLiteral("Unable to write to %1").arg(target));
        }
    }

    // Only a regular file (or a link to one) is read or replaced. A save either completes
    // or leaves everything as it was: no damaged file, no leftover, no FIFO replaced.
    void whatStandsInItsPlace_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<bool>("saves");
        QTest::newRow("a file") << "file" << true << true;
        QTest::newRow("a link to a file") << "link" << true << true;
        QTest::newRow("a file, the disk full while saving") << "full" << true << false;
        QTest::newRow("a FIFO") << "fifo" << false << false;
        QTest::newRow("a socket") << "socket" << false << false;
        QTest::newRow("a folder") << "folder" << false << false;
    }
    void whatStandsInItsPlace()
    {
        QFETCH(QString, kind);
        QFETCH(bool, readable);
        QFETCH(bool, saves);
        QTemporaryDir dir;
        const QString ini = dir.filePath("setup.ini");
        const bool isFile = kind == "file" || kind == "full" || kind == "link";
        const QString target = kind == "link" ? dir.filePath("real.ini") : ini;
        const QByteArray before = "; kept\r\n[Options]\r\nSaveFormat=.wav\r\n\r\n[x]\r\ny=2\r\n";
        const QString folder = "/" + QString(200, 'm') + "/";
        const QByteArray after = "; kept\r\n[Options]\r\nsaveformat=.mp3\r\nsavepath=" + folder.toUtf8() +
                                 "\r\n\r\n[x]\r\ny=2\r\n[mp3]\r\nbitrate=192\r\n";
        if (isFile) {
            QFile f(target);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(before) == before.size());
            f.close();
            QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        }
        if (kind == "link")
            QVERIFY(QFile::link("real.ini", ini));
        if (kind == "fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0644), 0);
        if (kind == "socket")
            QVERIFY(makeSocket(ini));
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("setup.ini"));
        struct stat was {};
        QCOMPARE(::lstat(QFile::encodeName(ini).constData(), &was), 0);

        const std::optional<QString> read = readWithin2s(ini);
        QVERIFY2(read.has_value(), "reading waited");
        QCOMPARE(*read, readable ? QString(".wav") : QString("<default>"));

        QString refusal;
        try {
            const std::optional<FileSizeLimit> full =
                kind == "full" ? std::make_optional<FileSizeLimit>(rlim_t(before.size() + 16))
                               : std::nullopt;
            IniFile(ini).write({{"options", "saveformat", ".mp3"},
                                {"options", "savepath", folder},
                                {"mp3", "bitrate", 192}});
        } catch (const SettingsError &e) {
            refusal = QString::fromStdString(e.what());
        }
        QCOMPARE(refusal, saves ? QString() : "Unable to write to " + ini);
        struct stat now {};
        QCOMPARE(::lstat(QFile::encodeName(ini).constData(), &now), 0);
        QCOMPARE(now.st_mode & S_IFMT, was.st_mode & S_IFMT);   // a link stays a link, a FIFO a FIFO
        if (isFile) {
            QCOMPARE(get(QFileInfo(target).fileName(), dir), saves ? after : before);
            QCOMPARE(QFile::permissions(target),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                         QFile::ReadGroup);
        }
        // Nothing left behind beside it.
        QStringList names = {"setup.ini"};
        if (kind == "link")
            names.prepend("real.ini");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                            QDir::NoDotAndDotDot, QDir::Name),
                 names);
    }

    void strToInt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "2003" << true << 2003;
        QTest::newRow("dollar hex") << "$7D3" << true << 2003;
        QTest::newRow("0x hex") << "0x7d3" << true << 2003;
        QTest::newRow("leading blanks") << "  2003" << true << 2003;
        QTest::newRow("plus") << "+5" << true << 5;
        QTest::newRow("minus") << "-70000" << true << -70000;
        QTest::newRow("min int") << "-2147483648" << true << int(0x80000000);
        QTest::newRow("hex pattern") << "$FFFFFFFF" << true << -1;
        QTest::newRow("trailing blank") << "2003 " << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("only sign") << "-" << false << 0;
        QTest::newRow("only dollar") << "$" << false << 0;
        QTest::newRow("fraction") << "12.5" << false << 0;
        QTest::newRow("overflow") << "2147483648" << false << 0;
        QTest::newRow("hex overflow") << "$100000000" << false << 0;
    }
    void strToInt()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto v = parseInteger(text);
        QCOMPARE(v.has_value(), valid);
        if (valid)
            QCOMPARE(*v, value);
        else
            QVERIFY_THROWS_EXCEPTION(ConvertError, toInteger(text));
    }

    void conversionErrorNamesTheText()
    {
        try {
            toInteger(QStringLiteral("ab"));
            QFAIL("no error");
        } catch (const ConvertError &e) {
            QCOMPARE(QString::fromStdString(e.what()), QStringLiteral("'ab' is not a valid integer value"));
        }
    }
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_ini_file.moc"
