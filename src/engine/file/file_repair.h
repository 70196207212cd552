// Repairs recordings that were cut off: the program or the machine died while the file was
// written, or the disk filled up. The header is brought in line with the whole frames or
// packets the file holds, and a trailing partial one is cut off:
//   - WAV: the RIFF and data chunk sizes;
//   - MP3: the Xing/Info frame's frame and byte counts, its seek table and LAME tag (a VBRI
//     frame, which we never write, is turned into a silent frame);
//   - WMA (ASF): the file properties (size, packet count, play and send duration) and the
//     data object's size and packet count;
//   - FLAC: STREAMINFO's total sample count and smallest and largest frame size, counted
//     from the whole frames (each one CRC-checked); its MD5 signature, no longer true, is
//     zeroed (which says "not known");
//   - Ogg (Vorbis, Opus): the granule positions are right as written; a page cut short
//     (or failing its CRC) at the end is cut off, and the last page is marked as the end
//     of the stream.
// Everything is worked out before the first byte changes, so a file that cannot be
// repaired is left as it was. The header is rewritten in place and the file only ever
// gets shorter, so a repair needs no free space and works on a full disk. ID3v1 and APEv2
// tags at the end of a file (a tag editor put them there, not the recorder) are kept as
// they are, after the audio: a cut moves them down to the new end.
//
// Another format is added as one more entry of the table in file_repair.cpp: a test that
// recognises its first bytes and a function that repairs it.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace engine::file {

enum class RepairFormat { Wav, Mp3, Wma, Flac, Ogg };

// The format whose repair applies to a file starting with these bytes (64 are enough);
// nothing when none does.
std::optional<RepairFormat> repairFormatOf(const QByteArray &head);

// "WAV", "MP3", "WMA", "FLAC" or "Ogg".
QString repairFormatName(RepairFormat format);

// Repairs the file open as fd (open for reading and writing); path is used in messages
// only. With `expected`, a file whose content is of another format is refused. Throws
// EngineError ("Cannot repair <path>: <reason>"); a refused file is left untouched.
void repairOpenFile(int fd, const QString &path, std::optional<RepairFormat> expected = std::nullopt);

// The same for the file at path, which must not be a symbolic link.
void repairFile(const QString &path);

// The bytes repaired as a file of `format` (in memory): the repaired bytes, or EngineError
// when they are refused. For tests and fuzzing.
QByteArray repairBytes(const QByteArray &bytes, RepairFormat format);

}  // namespace engine::file
