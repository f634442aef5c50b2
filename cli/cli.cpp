#include "cli/cli.h"

#include <algorithm>
#include <iostream>

#include "engine/paths.h"

namespace cli {

namespace {

const char* fallbackText(int n)
{
    switch (n) {
    case 19: return "The sheet table or the part table is empty.";
    case 20: return "Not every part could be placed.";
    case 29: return "The project cannot be saved.";
    case 31: return "The project file cannot be opened.";
    case 288: return "The project file cannot be read.";
    case 296: return "The value cannot be converted.";
    case 157: return "The length, width or quantity of a sheet row cannot be read. Sheet row:";
    case 159: return "The length, width, quantity or rotation lock of a part row cannot be read. Part row:";
    default: return "Error.";
    }
}

int help(Context& ctx)
{
    *ctx.out << "usage: velmora-cli COMMAND [options] ARGS...\n\ncommands:\n";
    for (const Command& c : commands())
        *ctx.out << "  " << c.synopsis << "\n";
    *ctx.out << "\noptions of every command:\n"
                "  --settings FILE     read settings from FILE over the defaults\n"
                "  --set NAME=VALUE    set one setting by its value name (repeatable)\n"
                "  --lang NAME         language file (Lang/NAME.vll)\n";
    return kExitOk;
}

} // namespace

const engine::LanguageTable* Context::language() const
{
    if (!languageCacheFilled) {
        languageCacheFilled = true;
        const std::string path = engine::LanguageTable::pathFor(engine::programFolder(), languageName);
        engine::LanguageTable table;
        switch (table.load(path)) {
        case engine::LanguageTable::LoadResult::Ok:
            languageCache = std::move(table);
            break;
        case engine::LanguageTable::LoadResult::FileHasError:
            // The texts read before the bad line are still better than none.
            if (err)
                *err << "velmora-cli: " << engine::kLanguageFileHasError << " (" << path << ", line " << table.errorLine() << ")\n";
            languageCache = std::move(table);
            break;
        case engine::LanguageTable::LoadResult::CannotOpen:
            break;
        }
    }
    return languageCache ? &*languageCache : nullptr;
}

std::string Context::text(const engine::Status& status) const
{
    const int n = engine::number(status.msg);
    const engine::LanguageTable* table = language();
    std::string s;
    if (table && !table->text(n).empty()) {
        s = table->text(n);
    } else {
        s = fallbackText(n);
        s += " (message " + std::to_string(n) + ")";
    }
    for (const std::string& a : status.args)
        s += " " + a;
    return s;
}

int Context::fail(const engine::Status& status) const
{
    // The number goes with every message so that scripts can tell them apart.
    std::string line = text(status);
    const std::string tag = "(message " + std::to_string(engine::number(status.msg)) + ")";
    if (line.find(tag) == std::string::npos)
        line += " " + tag;
    *err << "velmora-cli: " << line << "\n";
    return kExitUsage;
}

int Context::usage(const std::string& line) const
{
    *err << "velmora-cli: " << line << "\n";
    return kExitUsage;
}

bool takeOption(Context& ctx, const std::string& name, std::string& value, bool& missingValue)
{
    auto& a = ctx.args;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] == name) {
            if (i + 1 >= a.size()) {
                missingValue = true;
                a.erase(a.begin() + static_cast<long>(i));
                return true;
            }
            value = a[i + 1];
            a.erase(a.begin() + static_cast<long>(i), a.begin() + static_cast<long>(i) + 2);
            return true;
        }
        if (a[i].rfind(name + "=", 0) == 0) {
            value = a[i].substr(name.size() + 1);
            a.erase(a.begin() + static_cast<long>(i));
            return true;
        }
    }
    return false;
}

bool takeFlag(Context& ctx, const std::string& name)
{
    auto it = std::find(ctx.args.begin(), ctx.args.end(), name);
    if (it == ctx.args.end())
        return false;
    ctx.args.erase(it);
    return true;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    Context ctx;
    ctx.out = &out;
    ctx.err = &err;
    ctx.settings = engine::Settings::defaults(engine::programFolder());
    if (args.empty() || args[0] == "help" || args[0] == "--help" || args[0] == "-h")
        return help(ctx);

    const auto& cmds = commands();
    const auto cmd = std::find_if(cmds.begin(), cmds.end(), [&](const Command& c) { return args[0] == c.name; });
    if (cmd == cmds.end())
        return ctx.usage("unknown command '" + args[0] + "' (see velmora-cli help)");
    ctx.args.assign(args.begin() + 1, args.end());

    std::string value;
    bool missing = false;
    if (takeOption(ctx, "--settings", value, missing)) {
        if (missing)
            return ctx.usage("--settings needs a file name");
        const engine::SettingsFileResult r = engine::readSettingsFile(ctx.settings, value);
        if (!r.opened)
            return ctx.usage("cannot read settings file " + value);
        for (const std::string& name : r.brokenValues)
            err << "velmora-cli: setting " << name << " in " << value << " is broken; using its default\n";
    }
    while (takeOption(ctx, "--set", value, missing)) {
        if (missing)
            return ctx.usage("--set needs NAME=VALUE");
        const size_t eq = value.find('=');
        if (eq == std::string::npos)
            return ctx.usage("--set needs NAME=VALUE, got '" + value + "'");
        if (const engine::Status st = engine::setSetting(ctx.settings, value.substr(0, eq), value.substr(eq + 1));
            !st.ok())
            return ctx.usage("cannot set '" + value + "': unknown name or a value of the wrong kind");
    }
    ctx.languageName = ctx.settings.Jezik;
    if (takeOption(ctx, "--lang", value, missing)) {
        if (missing)
            return ctx.usage("--lang needs a language name");
        ctx.languageName = value;
    }
    return cmd->run(ctx);
}

} // namespace cli
