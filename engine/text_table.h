#pragma once

#include <string>
#include <vector>

namespace engine {

// A table of texts laid out like the input grids: row 0 holds the column
// titles, column 0 is the narrow fixed column, data rows are 1..rowCount().
// The texts are the authoritative form of the sheet and part tables; numbers
// are parsed from them when needed.
class TextTable {
public:
    explicit TextTable(int columns);

    [[nodiscard]] int columns() const { return m_columns; }
    [[nodiscard]] int rowCount() const { return static_cast<int>(m_rows.size()); }

    // Data cells, row 1..rowCount(), column 0..columns()-1. Reading outside
    // gives an empty text; writing to row rowCount()+1 or beyond grows the table.
    [[nodiscard]] const std::string& cell(int row, int col) const;
    void setCell(int row, int col, std::string text);

    [[nodiscard]] const std::string& title(int col) const;
    void setTitle(int col, std::string text);

    void setRowCount(int rows);
    // Appends a row (cells beyond `cells` stay empty); returns its number.
    int appendRow(const std::vector<std::string>& cells = {});
    void insertRow(int row);
    void removeRow(int row);
    void clear() { m_rows.clear(); }

    [[nodiscard]] const std::vector<std::string>& row(int row) const;
    bool operator==(const TextTable& other) const = default;

private:
    int m_columns;
    std::vector<std::string> m_titles;
    std::vector<std::vector<std::string>> m_rows;
};

} // namespace engine
