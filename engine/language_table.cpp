#include "engine/language_table.h"

namespace engine {

namespace {
const std::string kEmpty;
}

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

// Placeholder until the language file reader lands.
LanguageTable::LoadResult LanguageTable::load(const std::string&)
{
    return LoadResult::CannotOpen;
}

} // namespace engine
