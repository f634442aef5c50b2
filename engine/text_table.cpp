#include "engine/text_table.h"

#include <cassert>

namespace engine {

namespace {
const std::string kEmptyCell;
const std::vector<std::string> kEmptyRow;
} // namespace

TextTable::TextTable(int columns)
    : m_columns(columns)
    , m_titles(static_cast<size_t>(columns))
{
}

const std::string& TextTable::cell(int row, int col) const
{
    if (row < 1 || row > rowCount() || col < 0 || col >= m_columns)
        return kEmptyCell;
    return m_rows[static_cast<size_t>(row - 1)][static_cast<size_t>(col)];
}

void TextTable::setCell(int row, int col, std::string text)
{
    assert(row >= 1 && col >= 0 && col < m_columns);
    if (row < 1 || col < 0 || col >= m_columns)
        return;
    if (row > rowCount())
        setRowCount(row);
    m_rows[static_cast<size_t>(row - 1)][static_cast<size_t>(col)] = std::move(text);
}

const std::string& TextTable::title(int col) const
{
    if (col < 0 || col >= m_columns)
        return kEmptyCell;
    return m_titles[static_cast<size_t>(col)];
}

void TextTable::setTitle(int col, std::string text)
{
    if (col >= 0 && col < m_columns)
        m_titles[static_cast<size_t>(col)] = std::move(text);
}

void TextTable::setRowCount(int rows)
{
    if (rows < 0)
        rows = 0;
    m_rows.resize(static_cast<size_t>(rows), std::vector<std::string>(static_cast<size_t>(m_columns)));
}

int TextTable::appendRow(const std::vector<std::string>& cells)
{
    std::vector<std::string> r(static_cast<size_t>(m_columns));
    for (size_t i = 0; i < cells.size() && i < r.size(); ++i)
        r[i] = cells[i];
    m_rows.push_back(std::move(r));
    return rowCount();
}

void TextTable::insertRow(int row)
{
    if (row < 1)
        row = 1;
    if (row > rowCount() + 1)
        row = rowCount() + 1;
    m_rows.insert(m_rows.begin() + (row - 1), std::vector<std::string>(static_cast<size_t>(m_columns)));
}

void TextTable::removeRow(int row)
{
    if (row >= 1 && row <= rowCount())
        m_rows.erase(m_rows.begin() + (row - 1));
}

const std::vector<std::string>& TextTable::row(int row) const
{
    if (row < 1 || row > rowCount())
        return kEmptyRow;
    return m_rows[static_cast<size_t>(row - 1)];
}

} // namespace engine
