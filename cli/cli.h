#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "engine/language_table.h"
#include "engine/msg.h"
#include "engine/settings.h"

namespace engine {
class Project;
}

namespace cli {

// Exit codes of velmora-cli.
constexpr int kExitOk = 0;
constexpr int kExitInternal = 1;
constexpr int kExitUsage = 2;        // bad usage or unreadable input
constexpr int kExitPartsMissing = 3; // result stored, but not every part placed

// What every subcommand gets: the settings (defaults, then --settings FILE,
// then each --set NAME=VALUE), the remaining arguments and the streams.
struct Context {
    engine::Settings settings;
    std::string languageName;          // --lang, default the setting Jezik
    std::vector<std::string> args;     // arguments after the subcommand, options removed
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;

    // Text of a message for people: the entry of Lang/<languageName>.vll
    // (read from the program folder on first use) followed by the detail
    // args, else a plain English fallback with the number.
    [[nodiscard]] std::string text(const engine::Status& status) const;
    // The text of one message alone: the language entry, else the English fallback.
    [[nodiscard]] std::string plainText(engine::Msg m) const;
    // The language table, read on first use; nullptr when the file is missing.
    [[nodiscard]] const engine::LanguageTable* language() const;
    // Prints the message on the error stream and returns kExitUsage.
    int fail(const engine::Status& status) const;
    // Prints the message on the error stream; the command goes on.
    void warn(const engine::Status& status) const;
    int usage(const std::string& line) const;

    // Cache of language(); public only so that Context stays an aggregate.
    mutable std::optional<engine::LanguageTable> languageCache = std::nullopt;
    mutable bool languageCacheFilled = false;
    // Standard output already failed and was reported.
    mutable bool outputFailed = false;
};

// Opens a project named on the command line as Open does and prints its
// warnings: kExitOk, or the exit code of the failure it reported.
[[nodiscard]] int openInput(const Context& ctx, const std::string& path, engine::Project& project);

using CommandFn = int (*)(Context&);

struct Command {
    const char* name;
    const char* synopsis;
    CommandFn run;
};

// The subcommands, in the order `velmora-cli help` lists them.
[[nodiscard]] const std::vector<Command>& commands();

// Runs velmora-cli with the given arguments (argv[0] excluded).
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Takes the value of `--name VALUE` or `--name=VALUE` out of ctx.args.
// Returns false when the option is absent; `missingValue` is set when it is
// present without a value.
bool takeOption(Context& ctx, const std::string& name, std::string& value, bool& missingValue);
bool takeFlag(Context& ctx, const std::string& name);

// The arguments left after a command took its options do not fit: names the
// first unknown option when there is one, else prints the usage line.
// Returns kExitUsage.
int rejectArguments(const Context& ctx, const std::string& usageLine);

// Writes `text` to the file `target` whole or not at all, or to standard
// output for "-" (flushed and checked). Prints the failure and returns false.
bool writeOutput(const Context& ctx, const std::string& target, const std::string& text);

} // namespace cli
