#include "engine/band_type_table.h"

#include <cassert>

#include "engine/band_types.h"
#include "engine/unit_change.h"

namespace engine {

const std::string& BandType::field(BandField f) const
{
    switch (f) {
    case BandField::Name: return name;
    case BandField::Thickness: return thickness;
    case BandField::Mark: return mark;
    case BandField::ExtraLength: return extraLength;
    case BandField::Price: break;
    }
    return price;
}

std::string& BandType::field(BandField f)
{
    return const_cast<std::string&>(static_cast<const BandType&>(*this).field(f));
}

const BandType& BandTypeTable::record(int index) const
{
    assert(index >= 0 && index < count());
    return m_records[static_cast<std::size_t>(index)];
}

void BandTypeTable::setRecord(int index, BandType record)
{
    assert(index >= 0 && index < count());
    m_records[static_cast<std::size_t>(index)] = std::move(record);
}

void BandTypeTable::append(BandType record) { m_records.push_back(std::move(record)); }

std::vector<std::string> BandTypeTable::names() const
{
    std::vector<std::string> out;
    out.reserve(m_records.size());
    for (const BandType& b : m_records)
        out.push_back(b.name);
    return out;
}

int BandTypeTable::indexOf(std::string_view name) const
{
    for (int i = 0; i < count(); ++i)
        if (m_records[static_cast<std::size_t>(i)].name == name)
            return i;
    return -1;
}

BandValues BandTypeTable::partValues(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const BandType& b = record(index);
    return {b.name, b.thickness, b.mark};
}

CellCheck BandTypeTable::checkField(BandField field, std::string_view text, LengthUnit unit)
{
    if (field == BandField::Thickness || field == BandField::ExtraLength)
        return checkLengthCell(text, unit);
    return {Msg::Ok, std::string(text)};
}

Msg BandTypeTable::editField(int index, BandField field, std::string_view text, LengthUnit unit)
{
    if (!isEditable(index))
        return Msg::Ok;
    CellCheck c = checkField(field, text, unit);
    if (c.msg == Msg::Ok)
        m_records[static_cast<std::size_t>(index)].field(field) = std::move(c.text);
    return c.msg;
}

bool BandTypeTable::remove(int index)
{
    if (!isRemovable(index))
        return false;
    m_records.erase(m_records.begin() + index);
    return true;
}

std::vector<BandCell> BandTypeTable::convertUnits(LengthUnit from, LengthUnit to)
{
    std::vector<BandCell> unconverted;
    if (from == to)
        return unconverted;
    for (int i = 1; i < count(); ++i) {
        for (const BandField f : {BandField::Thickness, BandField::ExtraLength}) {
            std::string& cell = m_records[static_cast<std::size_t>(i)].field(f);
            if (cell.empty())
                continue;
            if (!convertLengthCell(cell, from, to))
                unconverted.push_back({i, f});
        }
    }
    return unconverted;
}

Status BandTypeTable::load(const std::string& path) { return readBandTypes(path, *this); }

Status BandTypeTable::save(const std::string& path) const { return saveBandTypes(path, *this); }

} // namespace engine
