#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/band_type_table.h"
#include "engine/msg.h"
#include "engine/paths.h"

namespace engine {

// The band type file: reading, writing, and what a damaged file still holds.

// Path of the band type file under the program folder (which ends in '/'),
// to read or to write: the user's own copy when the program folder is shared
// (programDataPath).
[[nodiscard]] std::string bandTypesPath(const std::string& programFolder, DataUse use = DataUse::Read);

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

// Reads `path` for a caller that shows what it can: a file that cannot be
// read leaves `table` alone and gives CannotReadBandFile; a damaged one (not
// whole records, too many records) puts its whole records into `table`
// (wholeBandRecords) and gives the message of LoadBandTypes.
[[nodiscard]] Status readBandTypes(const std::string& path, BandTypeTable& table);

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

} // namespace engine
