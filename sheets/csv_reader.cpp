#include "sheets/csv_reader.h"

#include <array>

#include "engine/file_io.h"
#include "engine/text_encoding.h"

namespace sheets {

namespace {

using engine::Result;
using engine::Status;

void appendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 after its byte-order mark; unpaired surrogates and an odd last
// byte become U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<std::uint32_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
    }
    if (i < bytes.size())
        appendUtf8(out, 0xFFFD);
    return out;
}

std::string decoded(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return engine::decodeText(bytes.substr(3), engine::TextEncoding::Utf8).text;
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return utf16ToUtf8(bytes.substr(2), false);
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return utf16ToUtf8(bytes.substr(2), true);
    return engine::decodeTextFile(bytes).text;
}

std::string sheetName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

} // namespace

char detectCsvDelimiter(std::string_view text)
{
    static constexpr std::array<char, 3> kCandidates = {'\t', ';', ','};
    static constexpr int kSampleLines = 50;
    std::array<int, 3> first{};
    std::array<int, 3> linesWith{};
    std::array<bool, 3> consistent = {true, true, true};
    std::array<int, 3> count{};
    int lines = 0;
    bool quoted = false;
    const auto endLine = [&] {
        for (int k = 0; k < 3; ++k) {
            if (lines == 0)
                first[k] = count[k];
            else if (count[k] != first[k])
                consistent[k] = false;
            if (count[k] > 0)
                ++linesWith[k];
            count[k] = 0;
        }
        ++lines;
    };
    for (std::size_t i = 0; i < text.size() && lines < kSampleLines; ++i) {
        const char c = text[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endLine();
        } else if (!quoted) {
            for (int k = 0; k < 3; ++k)
                if (c == kCandidates[k])
                    ++count[k];
        }
    }
    if (lines < kSampleLines && (count[0] || count[1] || count[2]))
        endLine();
    for (int k = 0; k < 3; ++k)
        if (consistent[k] && first[k] > 0)
            return kCandidates[k];
    int best = -1;
    for (int k = 0; k < 3; ++k)
        if (linesWith[k] > 0 && (best < 0 || linesWith[k] > linesWith[best]))
            best = k;
    return best < 0 ? ',' : kCandidates[best];
}

Result<Workbook> CsvReader::read(const std::string& path) const
{
    auto bytes = engine::readWholeFile(path, engine::FileLimit::kSpreadsheet);
    if (!bytes.ok())
        return bytes.error();
    return readBytes(*bytes, path);
}

Result<Workbook> CsvReader::readBytes(std::string_view bytes, const std::string& path)
{
    const std::string text = decoded(bytes);
    const char delimiter = detectCsvDelimiter(text);
    Worksheet ws(sheetName(path));
    std::int64_t row = 1;
    std::int64_t col = 1;
    std::int64_t line = 1;
    std::int64_t cells = 0;
    std::string field;
    bool pending = false;  // a record has begun
    const auto store = [&]() -> Status {
        if (col > kMaxColumns)
            return tooLarge(path, "line " + std::to_string(line) + ": more than " + std::to_string(kMaxColumns) +
                                      " fields");
        if (row > kMaxRows)
            return tooLarge(path, "line " + std::to_string(line) + ": more than " + std::to_string(kMaxRows) + " rows");
        if (!field.empty() && ++cells > kMaxCells)
            return tooLarge(path, "line " + std::to_string(line) + ": more than " + std::to_string(kMaxCells) +
                                      " cells");
        ws.setText(row, col, std::move(field));
        field.clear();
        return {};
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && field.empty()) {
            // A quoted field: up to the closing quote; "" is one quote.
            const std::int64_t startLine = line;
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const char q = text[i];
                if (q == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                if (q == '\n' || (q == '\r' && !(i + 1 < text.size() && text[i + 1] == '\n')))
                    ++line;
                field += q;
                ++i;
            }
            if (!closed)
                return damaged(path, "line " + std::to_string(startLine) + ": quote not closed");
            pending = true;
            continue;
        }
        if (c == delimiter) {
            if (Status s = store(); !s.ok())
                return s;
            ++col;
            pending = true;
            ++i;
            continue;
        }
        if (c == '\n' || c == '\r') {
            if (Status s = store(); !s.ok())
                return s;
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            ++row;
            ++line;
            col = 1;
            pending = false;
            continue;
        }
        field += c;
        pending = true;
        ++i;
    }
    if (pending)
        if (Status s = store(); !s.ok())
            return s;
    ws.finish();
    Workbook book;
    book.path = path;
    book.sheets.push_back(std::move(ws));
    return book;
}

} // namespace sheets
