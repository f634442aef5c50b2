#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/input_tables.h"
#include "engine/msg.h"
#include "engine/units.h"

namespace engine {

// The five fields of a band type, in file and column order.
enum class BandField { Name = 0, Thickness = 1, Mark = 2, ExtraLength = 3, Price = 4 };
constexpr int kBandFieldCount = 5;

// One kind of edge band. All five fields stay texts; the two lengths are
// written in the unit that was current when they were typed, never in
// internal units.
struct BandType {
    std::string name;
    std::string thickness;    // length text, subtracted from the part size
    std::string mark;         // copied into the part row beside the name
    std::string extraLength;  // length text, added per piece in the banding totals
    std::string price;        // per unit of the display length unit, "." decimal text

    [[nodiscard]] const std::string& field(BandField f) const;
    [[nodiscard]] std::string& field(BandField f);
    bool operator==(const BandType&) const = default;
};

// A cell of the table that a unit change could not convert.
struct BandCell {
    int record = 0;
    BandField field = BandField::Name;
    bool operator==(const BandCell&) const = default;
};

// The band types of a program run, in file order: the one model behind the
// band type dialog, the part table's band choosers, the report and the bill.
// Record 0 is the entry every edge without band carries; it cannot be
// edited or removed, and the report and the bill start at record 1.
class BandTypeTable {
public:
    static constexpr int kMaxRecords = 50;

    BandTypeTable() = default;
    explicit BandTypeTable(std::vector<BandType> records) : m_records(std::move(records)) {}

    [[nodiscard]] int count() const { return static_cast<int>(m_records.size()); }
    [[nodiscard]] bool empty() const { return m_records.empty(); }
    [[nodiscard]] const std::vector<BandType>& records() const { return m_records; }
    // `index` in 0 .. count()-1.
    [[nodiscard]] const BandType& record(int index) const;
    void setRecord(int index, BandType record);
    // Appends a record as given (readers and tests; a table may briefly
    // hold more than kMaxRecords, which saving refuses).
    void append(BandType record);

    [[nodiscard]] std::vector<std::string> names() const;
    // Index of the first record of that name, or -1.
    [[nodiscard]] int indexOf(std::string_view name) const;
    // What a part edge takes from record `index` (name, thickness, mark);
    // empty texts for an index outside the table.
    [[nodiscard]] BandValues partValues(int index) const;

    // Whether `record` may be edited: records 1 .. count()-1.
    [[nodiscard]] bool isEditable(int index) const { return index >= 1 && index < count(); }

    // A text typed into `field`: the two length fields must read as a
    // length in `unit` and are given their canonical text (the length
    // messages otherwise); the other fields are taken as typed.
    [[nodiscard]] static CellCheck checkField(BandField field, std::string_view text, LengthUnit unit);

    // Checks `text` as checkField does and, when it passes, stores the
    // canonical text. Returns the check's message; a refused text and a
    // record that is not editable leave the table as it was (the latter
    // gives Ok and changes nothing, as a fixed cell would).
    Msg editField(int index, BandField field, std::string_view text, LengthUnit unit);

    // A new, empty band type at the end.
    void appendEmpty() { m_records.emplace_back(); }
    // True when the table has at least two records, so that one may go.
    [[nodiscard]] bool canRemove() const { return count() >= 2; }
    // Whether remove(index) would remove something: an editable record
    // with a name.
    [[nodiscard]] bool isRemovable(int index) const { return isEditable(index) && !record(index).name.empty(); }
    // Removes record `index` (1 ..) when its name is not empty; the records
    // after it move up. False when nothing changed.
    bool remove(int index);

    // Rewrites thickness and extra length of records 1 .. from `from` to
    // `to` (ParseLength, then FormatLength); record 0 stays as it is. An
    // empty cell has nothing to convert and stays empty (an empty thickness
    // counts 0 wherever net sizes are computed); any other cell that does
    // not read as a length stays as it was and is returned, in table order.
    std::vector<BandCell> convertUnits(LengthUnit from, LengthUnit to);

    // Reads the band type file at `path`. A file that cannot be read leaves
    // the table alone and gives CannotReadBandFile; a damaged one (not whole
    // records, too many records) fills the table with the whole records it
    // still holds and gives that message, for the caller to show.
    [[nodiscard]] Status load(const std::string& path);
    // Writes the table to `path` (record 0 always, other records only with
    // both thickness and extra length; the old file replaced safely).
    // Errors: those of saveBandTypes.
    [[nodiscard]] Status save(const std::string& path) const;

    bool operator==(const BandTypeTable&) const = default;

private:
    std::vector<BandType> m_records;
};

} // namespace engine
