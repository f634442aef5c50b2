#include "project/foreign_project.h"

#include "engine/file_io.h"
#include "engine/text_encoding.h"


namespace project_io {

namespace {

using engine::Msg;
using engine::Status;

constexpr std::size_t kPieceBytes = 20;
constexpr int kForeignSheetRecord = 7;
constexpr int kPartRecord = 9;
constexpr int kFirstRecord = 4;  // after the four header pieces

std::string_view trimControls(std::string_view s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

} // namespace

engine::Result<std::vector<std::string>> splitQuillonPieces(std::string_view bytes)
{
    std::vector<std::string> pieces;
    // The encoding is the file's, not each piece's: a piece of plain letters
    // must not decide differently from its neighbours.
    const engine::TextEncoding encoding = engine::detectTextEncoding(bytes);
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (pieces.size() == static_cast<std::size_t>(kMaxQuillonPieces))
            return Status(Msg::QuillonFileTooLong);
        std::size_t end = i;
        while (end < bytes.size() && end - i < kPieceBytes) {
            if (bytes[end++] == '\n')
                break;
        }
        pieces.push_back(engine::decodeText(trimControls(bytes.substr(i, end - i)), encoding).text);
        i = end;
    }
    return pieces;
}

ReadOutcome readForeignProjectText(std::string_view bytes, engine::Project& project)
{
    auto split = splitQuillonPieces(bytes);
    if (!split)
        return {-1, split.error()};
    const std::vector<std::string>& pieces = *split;
    // A record that runs past the last piece gets empty texts for the
    // missing values, as the fixed piece list of the old reader gave.
    const auto piece = [&](std::size_t k) { return k < pieces.size() ? pieces[k] : std::string(); };

    std::size_t i = kFirstRecord;
    while (i + 2 < pieces.size()) {
        if (pieces[i] == "tab_1") {
            const int row = project.sheets.rowCount() + 1;
            for (int c = 0; c < engine::SheetCol::Count; ++c)
                project.sheets.setCell(row, c, piece(i + 1 + static_cast<std::size_t>(c)));
            i += kForeignSheetRecord;
        } else {
            const int row = project.parts.rowCount() + 1;
            for (int c = 0; c <= engine::PartCol::Rot; ++c)
                project.parts.setCell(row, c, piece(i + 1 + static_cast<std::size_t>(c)));
            for (int e = 0; e < 4; ++e) {
                project.parts.setCell(row, engine::PartCol::Band + e, "-");
                project.parts.setCell(row, engine::PartCol::Thickness + e, "0");
            }
            i += kPartRecord;
        }
    }
    return {1, Status()};
}

ReadOutcome ReadForeignProject(const std::string& fileName, engine::Project& project, const engine::Settings&)
{
    const engine::Result<std::string> bytes = engine::readWholeFile(fileName, engine::FileLimit::kForeign);
    if (!bytes.ok())
        return {-1, engine::becauseOf(Msg::CannotOpenProject, {fileName}, bytes.error())};
    ReadOutcome r = readForeignProjectText(*bytes, project);
    if (!r.status.ok())
        r.status.args = {fileName};
    return r;
}

} // namespace project_io
