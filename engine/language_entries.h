#pragma once

#include <span>
#include <vector>

namespace engine {

// Which entries of the language table the program reads, so that a shipped
// language file can be checked for gaps.

// Entries shown outside the caption groups: messages, status-bar and report
// texts, captions set at run time (window titles on activation, the label
// item setup's caption per label kind), ascending.
[[nodiscard]] std::span<const int> runtimeTextEntries();

// The numbers of the named engine::Msg values.
[[nodiscard]] std::span<const int> namedMessageEntries();

// Every entry the program uses: the run-time texts, the named messages and
// `captionEntries` (the entries of the windows' caption groups, which the
// desktop program holds); sorted, without repeats.
[[nodiscard]] std::vector<int> usedLanguageEntries(std::span<const int> captionEntries = {});

// Free blocks of the table kept for messages about faulty input that the
// first design did not report. Every shipped file carries a text for each
// number listed by reservedMessageEntries().
struct ReservedEntryBlock {
    int first;
    int last;
    const char* purpose;
};
[[nodiscard]] std::span<const ReservedEntryBlock> reservedEntryBlocks();
[[nodiscard]] std::span<const int> reservedMessageEntries();

} // namespace engine
