#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// Readers for the public guillotine cutting instances the quality benchmark
// runs (bench/quality_bench.cpp): the classic one-stock-size bin packing
// classes (".2bp" files, 50 instances each) and the several-stock-size
// instances given as a pair of CSV files. Sizes are whole numbers; every
// reader refuses a file it cannot read completely, naming the file, the line
// and what it expected, and returns nothing of it.
namespace quality {

struct StockSize {
    std::int64_t width = 0;   // along x
    std::int64_t height = 0;  // along y
    std::int64_t cost = 0;    // the price of one sheet (the several-size files)
    bool operator==(const StockSize&) const = default;
};

struct ItemType {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t copies = 1;
    bool operator==(const ItemType&) const = default;
};

// One instance. The one-size files give a single stock size of unlimited
// quantity; the several-size files up to a handful.
struct Instance {
    std::string id;  // "Class_03.2bp_100_7" or "gcut1d.txt"
    int problemClass = 0;
    int itemCount = 0;  // the n of the instance group
    int relative = 0;   // instance number within its group
    std::vector<StockSize> stock;
    std::vector<ItemType> items;
    bool operator==(const Instance&) const = default;
};

// A value or the reason there is none.
template <class T>
struct Read {
    T value{};
    std::string error;  // "file:line: what was expected"; empty on success
    [[nodiscard]] bool ok() const { return error.empty(); }
};

// The whole file as text; a missing or unreadable file gives an error.
[[nodiscard]] Read<std::string> readTextFile(const std::string& path);

// A ".2bp" file: instances separated by blank lines, each
//   class / n / relative absolute / bin height width / n lines item height width
// with a free comment allowed after the numbers of a line. `name` is the file
// name, used in the instance ids and the messages. Heights come first in the
// file; the result holds width and height.
[[nodiscard]] Read<std::vector<Instance>> readClassFile(std::string_view text, std::string_view name);

// "ID,WIDTH,HEIGHT,COST" stock sizes and "ID,WIDTH,HEIGHT,COPIES" item types.
[[nodiscard]] Read<std::vector<StockSize>> readBinsCsv(std::string_view text, std::string_view name);
[[nodiscard]] Read<std::vector<ItemType>> readItemsCsv(std::string_view text, std::string_view name);

// A comma separated table with a header line, as column title -> values
// (texts as they stand), all rows the same width.
struct CsvTable {
    std::vector<std::string> titles;
    std::vector<std::vector<std::string>> rows;
};
[[nodiscard]] Read<CsvTable> readCsv(std::string_view text, std::string_view name);

// Numbers of one column keyed by another, for the tables of best-known
// values and bounds. Keys are taken after their last '/' (some tables name
// instances by path). An empty value cell is left out; any other that is no
// number, a missing column or a key given twice is an error.
[[nodiscard]] Read<std::map<std::string, double>> readColumn(const CsvTable& table, std::string_view name,
                                                             std::string_view keyTitle, std::string_view valueTitle);

} // namespace quality
