// Ogg pages as they lie in a file: the page header, its checksum, and the packets it
// carries. Internal to the engine: the reader recognises a stream of header packets alone
// (a recording of nothing) with it, and the repair walks a file's pages with it.
#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <vector>

namespace engine::file {

constexpr int kOggPageHeaderBytes = 27;
// 27 header bytes, 255 lacing values, 255 segments of 255 bytes.
constexpr int kOggMaxPageBytes = kOggPageHeaderBytes + 255 + 255 * 255;

enum OggPageFlag {
    OggContinued = 0x01,      // the first packet continues one from the page before
    OggFirstPage = 0x02,      // beginning of a logical stream
    OggLastPage = 0x04,       // end of a logical stream
};

struct OggPage {
    int flags = 0;
    qint64 granule = -1;      // -1: no packet ends on this page
    quint32 serial = 0;
    quint32 sequence = 0;
    int headerBytes = 0;      // 27 plus the lacing values
    int bodyBytes = 0;
    std::vector<int> lacing;  // segment sizes

    qint64 size() const { return headerBytes + bodyBytes; }
    // The last packet on the page ends on it (it is not continued on the next page).
    bool lastPacketEnds() const { return !lacing.empty() && lacing.back() < 255; }
};

enum class OggPageCheck {
    Whole,      // a whole page with a right checksum
    CutShort,   // the bytes end before the page does (what is there may be a page's start)
    Invalid,    // no page, or a page whose checksum is wrong
};

// Reads the page at the start of `data` (`available` bytes from there on).
OggPageCheck readOggPage(const char *data, qint64 available, OggPage *page);

// The page's checksum, as its header should carry it (computed with that field zeroed).
quint32 oggPageChecksum(const char *page, qint64 size);

// Sets the checksum field of a whole page in place.
void updateOggPageChecksum(char *page, qint64 size);

// The packets the page's body holds, in order; a packet that starts on an earlier page or
// goes on to the next one is given as its part on this page. ends[i] says whether packet
// i ends on this page.
std::vector<QByteArray> oggPagePackets(const char *page, const OggPage &header, std::vector<bool> *ends);

}  // namespace engine::file
