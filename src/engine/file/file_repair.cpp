#include "engine/file/file_repair.h"

#include "engine/file/repair_io.h"

#include <QFile>
#include <QStringList>

#include <fcntl.h>
#include <sys/mman.h>

#include <exception>

namespace engine::file {

using namespace repair;

namespace {

struct RepairableFormat {
    RepairFormat format;
    const char *name;
    bool (*recognises)(const QByteArray &head);
    void (*repair)(RepairTarget &file);
};

const RepairableFormat kFormats[] = {
    {RepairFormat::Wav, "WAV", isWav, repairWav},
    {RepairFormat::Mp3, "MP3", isMpeg, repairMp3},
    {RepairFormat::Wma, "WMA", isAsf, repairAsf},
    {RepairFormat::Flac, "FLAC", isFlac, repairFlac},
    {RepairFormat::Ogg, "Ogg", isOgg, repairOgg},
};

const RepairableFormat *formatOf(const QByteArray &head)
{
    for (const RepairableFormat &format : kFormats) {
        if (format.recognises(head))
            return &format;
    }
    return nullptr;
}

// Whether the repair would change the file; a refusal is thrown as by the repair.
bool repairWouldChange(RepairTarget &file, const RepairableFormat &format)
{
    const struct Trial {
        RepairTarget &file;
        explicit Trial(RepairTarget &f) : file(f) { file.setTrial(true); }
        ~Trial() { file.setTrial(false); }
    } trial(file);
    try {
        format.repair(file);
    } catch (const WouldChange &) {
        return true;
    }
    return false;
}

[[noreturn]] void failOpen(const QString &path, const QString &reason)
{
    //: %1 the file, %2 why ("its header is damaged").
    throw EngineError(QCoreApplication::translate("FileRepair", "Cannot repair %1: %2").arg(path, reason));
}

}  // namespace

std::optional<RepairFormat> repairFormatOf(const QByteArray &head)
{
    const RepairableFormat *format = formatOf(head);
    return format ? std::optional(format->format) : std::nullopt;
}

QString repairFormatName(RepairFormat format)
{
    for (const RepairableFormat &f : kFormats) {
        if (f.format == format)
            return QLatin1String(f.name);
    }
    return QString();
}

void repairOpenFile(int fd, const QString &path, std::optional<RepairFormat> expected)
{
    quietFfmpegLog();
    RepairTarget file(fd, path);
    if (file.size() == 0)
        file.fail(QCoreApplication::translate("FileRepair", "it is empty"));
    const RepairableFormat *format = formatOf(file.read(0, 64));
    if (expected && (!format || format->format != *expected))
        //: %1 is a format's name: WAV, MP3, WMA, FLAC or Ogg.
        file.fail(QCoreApplication::translate("FileRepair", "it is not a %1 file")
                      .arg(repairFormatName(*expected)));
    if (!format) {
        QStringList names;
        for (const RepairableFormat &f : kFormats)
            names << QLatin1String(f.name);
        const QString last = names.takeLast();
        //: %1 is a list of formats ("WAV, MP3, WMA, FLAC"), %2 the last one ("Ogg").
        file.fail(QCoreApplication::translate("FileRepair", "it is not a %1 or %2 file")
                      .arg(names.join(QStringLiteral(", ")), last));
    }
    std::vector<qint64> ends = file.trailingTagStarts();
    if (ends.empty()) {
        format->repair(file);
        return;
    }
    // What looks like tags may be the file's own bytes (the end of its metadata or of its
    // audio). A file that needs no change with some of them, or none, taken for its own is
    // left as it is. Otherwise as many are kept apart as the repair accepts; when it
    // refuses the file however it is taken, the reason with all of them apart stands.
    ends.push_back(file.fileSize());
    std::exception_ptr refusal;
    qint64 accepted = -1;
    for (const qint64 end : ends) {
        file.setAudioEnd(end);
        try {
            if (!repairWouldChange(file, *format))
                return;
            if (accepted < 0)
                accepted = end;
        } catch (const EngineError &) {
            if (!refusal)
                refusal = std::current_exception();
        }
    }
    if (accepted < 0)
        std::rethrow_exception(refusal);
    file.setAudioEnd(accepted);
    format->repair(file);
}

void repairFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    int fd = -1;
    // Not through a link, and without waiting on a FIFO or device a damaged journal names.
    do {
        fd = ::open(native.constData(), O_RDWR | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        const int error = errno;
        failOpen(path, error == ELOOP ? QCoreApplication::translate("FileRepair", "it is a symbolic link")
                                      : systemErrorText(error));
    }
    try {
        repairOpenFile(fd, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
    if (::close(fd) != 0) {
        const int error = errno;
        failOpen(path, systemErrorText(error));
    }
}

QByteArray repairBytes(const QByteArray &bytes, RepairFormat format)
{
    //: Stands for a file's name in "Cannot repair %1: ..." when the bytes are in no file.
    const QString name = QCoreApplication::translate("FileRepair", "bytes in memory");
    const int fd = memfd_create("tavrin-repair", MFD_CLOEXEC);
    if (fd < 0)
        failOpen(name, systemErrorText(errno));
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (const int error = writeFully(fd, bytes.constData(), bytes.size(), 0))
        failOpen(name, systemErrorText(error));
    repairOpenFile(fd, name, format);
    struct stat st {};
    if (fstat(fd, &st) != 0)
        failOpen(name, systemErrorText(errno));
    QByteArray repaired(qint64(st.st_size), Qt::Uninitialized);
    qint64 done = 0;
    if (const int error = readFully(fd, repaired.data(), repaired.size(), 0, &done))
        failOpen(name, systemErrorText(error));
    repaired.truncate(done);
    return repaired;
}

}  // namespace engine::file

