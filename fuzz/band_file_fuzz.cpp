// Band type file reader over arbitrary bytes, with a save round trip of
// what it accepts.
#include <cstddef>
#include <cstdint>
#include <string_view>

#if __has_include("engine/band_types.h")
#include "engine/band_types.h"
#define VELMORA_HAS_BAND_TYPES 1
#endif

#ifdef VELMORA_HAS_BAND_TYPES
namespace {

// The reader drops a byte-order mark at the start of the file, so a first
// name that itself begins with one (a file with two marks) comes back without it.
bool startsWithByteOrderMark(const engine::BandTypeTable& t)
{
    return !t.empty() && t.record(0).name.rfind("\xEF\xBB\xBF", 0) == 0;
}

bool holdsLineBreak(const engine::BandTypeTable& t)
{
    for (const auto& r : t.records())
        for (const std::string* f : {&r.name, &r.thickness, &r.mark, &r.extraLength, &r.price})
            if (f->find_first_of("\r\n") != std::string::npos)
                return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto table = engine::parseBandTypes(text);
    if (!table.ok())
        return 0;
    if (table->count() > engine::BandTypeTable::kMaxRecords)
        __builtin_trap();
    // What was read writes back to a text that reads as the same table (a
    // field with a line break of its own cannot be written as one line).
    if (holdsLineBreak(*table) || startsWithByteOrderMark(*table))
        return 0;
    const auto again = engine::parseBandTypes(engine::serializeBandTypes(*table));
    if (!again.ok() || *again != *table)
        __builtin_trap();
    return 0;
}
#else
// The band type reader is not part of this tree yet: nothing to run.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
#endif
