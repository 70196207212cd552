// The repair of an Ogg file: the audio ends after its last whole page, which ends the stream.
#include "engine/file/repair_io.h"

#include "engine/file/ogg_page.h"

#include <QtEndian>

#include <cstring>

namespace engine::file::repair {

bool isOgg(const QByteArray &head)
{
    return head.startsWith("OggS");
}

void repairOgg(RepairTarget &file)
{
    SequentialReader reader(file);
    qint64 pos = 0;
    qint64 lastPage = -1;
    OggPage last;
    bool oneStream = true;
    int available = 0;
    while (pos < file.size()) {
        const char *p = reader.upTo(pos, kOggMaxPageBytes, &available);
        OggPage page;
        if (!p || readOggPage(p, available, &page) != OggPageCheck::Whole)
            break;
        if (lastPage >= 0 && page.serial != last.serial)
            oneStream = false;
        lastPage = pos;
        last = std::move(page);
        pos += last.size();
    }
    if (lastPage < 0)
        file.fail(QCoreApplication::translate("FileRepair", "it holds no whole Ogg page"));
    // What follows the last whole page may only be a page cut short.
    const qint64 cut = pos;
    if (file.size() - cut >= kOggMaxPageBytes)
        file.fail(QCoreApplication::translate("FileRepair", "its audio data is damaged at byte %1").arg(cut));

    // The last page ends the stream, when it holds the end of a packet whose position it
    // gives (granule positions are written right as the pages are).
    const bool markEnd = oneStream && !(last.flags & OggLastPage) && last.granule != -1 && last.lastPacketEnds();
    if (cut == file.size() && !markEnd)
        return;
    QByteArray page;
    if (markEnd) {
        page = file.read(lastPage, last.size());
        if (page.size() != last.size())
            file.fail(QCoreApplication::translate("FileRepair", "its last page cannot be read"));
        page[5] = char(uchar(page[5]) | OggLastPage);
        updateOggPageChecksum(page.data(), page.size());
    }
    file.truncate(cut);
    if (markEnd)
        file.write(lastPage, page.left(kOggPageHeaderBytes));
}

}  // namespace engine::file::repair
