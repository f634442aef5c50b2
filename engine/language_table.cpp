#include "engine/language_table.h"

#include <charconv>
#include "engine/file_io.h"
#include "engine/text_encoding.h"

namespace engine {

namespace {

const std::string kEmpty;
constexpr std::string_view kFinishLine = "FINISH LINE";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Characters after the first `mark` up to the next one; empty when `line`
// holds fewer than two marks.
std::string_view between(std::string_view line, char mark)
{
    const size_t first = line.find(mark);
    if (first == std::string_view::npos)
        return {};
    const size_t second = line.find(mark, first + 1);
    if (second == std::string_view::npos)
        return {};
    return line.substr(first + 1, second - first - 1);
}

// A plain decimal integer with an optional sign: no blanks, no hex, nothing
// after the digits. Values beyond int fail like any other bad field.
bool parseEntryNumber(std::string_view field, int& n)
{
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    if (field.empty())
        return false;
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, n);
    return ec == std::errc() && ptr == end;
}

} // namespace

const std::string& LanguageTable::text(int n) const
{
    if (n < 0 || n >= kEntries)
        return kEmpty;
    return m_entries[static_cast<size_t>(n)];
}

void LanguageTable::setText(int n, std::string text)
{
    if (n >= 0 && n < kEntries)
        m_entries[static_cast<size_t>(n)] = std::move(text);
}

std::string LanguageTable::pathFor(const std::string& programFolder, const std::string& name)
{
    return programFolder + "Lang/" + name + ".vll";
}

LanguageTable::LoadResult LanguageTable::load(const std::string& path)
{
    m_problem = {};
    const Result<std::string> bytes = readWholeFile(path, FileLimit::kLanguage);
    if (!bytes.ok()) {
        m_problem = bytes.error();
        return LoadResult::CannotOpen;
    }
    return loadFromBytes(*bytes);
}

LanguageTable::LoadResult LanguageTable::loadFromBytes(std::string_view bytes)
{
    m_errorLine = 0;
    // The choice between UTF-8 and 1252 is made once for the whole file: a
    // 1252 file whose one line happens to be valid UTF-8 must not be read
    // half one way and half the other.
    const TextEncoding encoding = detectTextEncoding(bytes);
    const bool utf8 = encoding == TextEncoding::Utf8;
    if (utf8 && bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom)
        bytes.remove_prefix(kUtf8Bom.size());

    int lineNumber = 0;
    size_t pos = 0;
    // A final line break ends the last line; it does not start an empty one.
    while (pos < bytes.size()) {
        size_t eol = bytes.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = bytes.size();
        std::string_view line = bytes.substr(pos, eol - pos);
        pos = eol + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::string_view field = between(line, '#');
        if (field == kFinishLine)
            break;
        int n = 0;
        if (!parseEntryNumber(field, n)) {
            m_errorLine = lineNumber;
            return LoadResult::FileHasError;
        }
        const std::string_view text = between(line, '"');
        setText(n, decodeText(text, encoding).text);
    }
    return LoadResult::Ok;
}

} // namespace engine
