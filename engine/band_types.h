#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/msg.h"
#include "engine/units.h"

namespace engine {

// One kind of edge band. All five fields stay texts; the two lengths are
// written in the unit that was current when they were typed, never in
// internal units.
struct BandType {
    std::string name;
    std::string thickness;    // length text, subtracted from the part size
    std::string mark;         // copied into the part row beside the name
    std::string extraLength;  // length text, added per piece in the banding totals
    std::string price;        // per unit of the display length unit, "." decimal text
    bool operator==(const BandType&) const = default;
};

// The band types in file order. Record 0 is the entry that every edge
// without band carries; the report and the bill start at record 1.
struct BandTypeTable {
    static constexpr int kMaxRecords = 50;

    std::vector<BandType> records;

    [[nodiscard]] int count() const { return static_cast<int>(records.size()); }
    [[nodiscard]] std::vector<std::string> names() const;
    bool operator==(const BandTypeTable&) const = default;
};

// Path of the band type file under the program folder (which ends in '/').
[[nodiscard]] std::string bandTypesPath(const std::string& programFolder);

// Reads the text of a band type file: five lines a record (CR LF or LF),
// record 0 first. 8-bit text that is not valid UTF-8 is read as
// Windows-1252. A last line without line end counts; one line end at the
// very end does not make an extra empty line.
// Errors: BandFileNotWholeRecords (line count not a multiple of five, or no
// record at all), BandFileTooManyRecords (more than 50 records).
[[nodiscard]] Result<BandTypeTable> parseBandTypes(std::string_view content);

// What a damaged band type file still holds: its whole records, at most 50,
// so that a dialog can show them next to the message about the damage.
[[nodiscard]] BandTypeTable wholeBandRecords(std::string_view content);

// LoadBandTypes: reads `path`. Errors: CannotReadBandFile (with the path)
// and those of parseBandTypes (with the path).
[[nodiscard]] Result<BandTypeTable> LoadBandTypes(const std::string& path);

// The table as the file holds it: five lines a record, each ended by CR LF.
[[nodiscard]] std::string serializeBandTypes(const BandTypeTable& table);

// What saving keeps: record 0 always (it is the entry of unbanded edges and
// cannot be edited), every other record only when both its thickness and its
// extra length are filled in.
[[nodiscard]] BandTypeTable bandTypesForSaving(const BandTypeTable& table);

// Writes bandTypesForSaving(table) to `path`, replacing the file through a
// temporary beside it so that a failed write leaves the old file whole.
// Errors: BandFileTooManyRecords, BandFileNotWholeRecords (a field holds a
// line break), CannotWriteBandFile (with the path).
[[nodiscard]] Status saveBandTypes(const std::string& path, const BandTypeTable& table);

// Rewrites thickness and extra length of every record from `from` to `to`
// (ParseLength, then FormatLength). A cell of records 1.. that does not read
// as a length stays as it was and gives one BandCellNotConverted status
// (args: record number, field name). Record 0 is converted where it reads and
// otherwise left alone silently.
[[nodiscard]] std::vector<Status> convertBandTypes(BandTypeTable& table, LengthUnit from, LengthUnit to);

} // namespace engine
