#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/msg.h"

namespace sheets {

// Most bytes one part of a zipped workbook may unpack to. A hostile file
// can claim any size and compress gigabytes of zeros into a few kilobytes;
// the reader stops at this many bytes whatever the file claims.
constexpr std::uint64_t kMaxPartBytes = 256ull << 20;

// A zip package (.xlsx, .ods) held in memory, read-only.
class ZipPackage {
public:
    ZipPackage();
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    // Opens the bytes of the file `path` (kept for the messages). Errors:
    // SpreadsheetDamaged (no zip archive, truncated).
    [[nodiscard]] engine::Status open(std::string bytes, const std::string& path);

    [[nodiscard]] bool has(std::string_view name) const;
    // The unpacked bytes of the part `name`. Errors: SpreadsheetDamaged
    // (missing, unreadable, bad checksum), SpreadsheetTooLarge (more than
    // `limit` bytes), each with the path and the part.
    [[nodiscard]] engine::Result<std::string> read(std::string_view name, std::uint64_t limit = kMaxPartBytes) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_path;
};

} // namespace sheets
