// One format's repair under libFuzzer: the input, as a file of that format, repaired in
// memory. A refusal is an answer; a crash, a repaired file longer than the input, or one
// that a second repair refuses or changes, is a fault.
#include "engine/engine.h"
#include "engine/file/file_repair.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr engine::file::RepairFormat kFormat = engine::file::RepairFormat::REPAIR_FORMAT;

[[noreturn]] void fault(const char *what)
{
    std::fprintf(stderr, "repair fault: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray repaired;
    try {
        repaired = engine::file::repairBytes(bytes, kFormat);
    } catch (const engine::EngineError &) {
        return 0;
    }
    if (repaired.size() > bytes.size())
        fault("the repaired file is longer");
    try {
        if (engine::file::repairBytes(repaired, kFormat) != repaired)
            fault("a second repair changes the repaired file");
    } catch (const engine::EngineError &e) {
        fault(e.what());
    }
    return 0;
}
