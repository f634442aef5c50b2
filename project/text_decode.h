#pragma once

#include <string>
#include <string_view>

namespace project_io::detail {

// 8-bit text of an old file as UTF-8: kept as it is when it already is valid
// UTF-8, else read as Windows-1252 (the code page the old files were written in).
[[nodiscard]] std::string decode8bit(std::string_view bytes);

} // namespace project_io::detail
