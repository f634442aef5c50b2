#include "cli/cli.h"

#include <algorithm>
#include <iostream>

#include "velmora_version.h"

#include "engine/file_io.h"
#include "engine/paths.h"
#include "engine/project.h"
#include "project/project_file.h"

namespace cli {

namespace {

// The English texts of the messages the command line can show, for when no
// language file can be read: a message must never shrink to "Error.".
struct FallbackText {
    int number;
    const char* text;
};
constexpr FallbackText kFallbackTexts[] = {
    {3, "The manual mode cannot start: no part fits on any stock sheet as entered (turning is not considered here). Check the part sizes or add larger sheets."},
    {10, "All stock sheets have been used. The result holds the parts placed so far; to place the rest, add stock sheets and optimise again."},
    {11, "All parts have been placed."},
    {12, "This is not an ordinary file (it is a folder, a device or a pipe); only ordinary files are read and written."},
    {15, "The file is too large for a file of this kind."},
    {19, "Nothing to optimise: the sheet table or the part table is empty. Enter at least one stock sheet and one part, then start again."},
    {20, "Not every part could be placed: some parts are larger than every stock sheet (with band thickness and saw kerf), or there are not enough sheets. Add stock sheets or check the part sizes, then optimise again."},
    {22, "A project file of the archive cannot be read; the archive list stops here:"},
    {26, "The disk is full; the old file was kept unchanged."},
    {28, "The file is read-only: save it under another name, or allow writing to it."},
    {29, "The project was not saved:"},
    {30, "The folder does not exist or cannot be written to."},
    {31, "The project file cannot be opened:"},
    {32, "The file does not exist."},
    {33, "The file cannot be read (no permission, or a read error)."},
    {40, "The file could not be written (a write error); the old file was kept unchanged."},
    {42, "Both tables are empty: enter sheets and parts first."},
    {43, "The file is neither a Velmora project (.vlp, .xml), an old Velmora text project nor a Quillon project (.qln); nothing was read:"},
    {47, "Some bytes of the file are not valid text and were replaced by the sign \xEF\xBF\xBD; check the texts before saving. File and number of bytes:"},
    {95, "The project holds no cutting result to draw; run the optimisation first:"},
    {96, "A setting has a value of the wrong kind or outside its range:"},
    {111, "The DXF settings file (Config/velmdxf.xml) cannot be read, so no DXF file was written. Check the file:"},
    {112, "The folder cannot be read (it does not exist or cannot be listed):"},
    {115, "The band type file (Config/bands.vlb) cannot be read, so no band types are loaded. Check that the file exists and can be read:"},
    {116, "The band type file (Config/bands.vlb) cannot be written; the changes last only until the program closes. Check that the Config folder can be written to:"},
    {117, "A part uses a band type that is not in the band list; that band is not counted. Choose a band from the list or add it to the band types:"},
    {118, "The band type file (Config/bands.vlb) is damaged: it must hold five lines for every band type. The band types were not loaded. Restore the file or enter the band types again under Options, Edge bands:"},
    {119, "The band type file (Config/bands.vlb) holds more than 50 band types. Delete the band types you do not use; at most 50 can be kept:"},
    {140, "The settings file is not a text of NAME=VALUE lines:"},
    {141, "The output cannot be written:"},
    {157, "A row of the sheet table has a length or width that cannot be read (lengths in the current unit). Correct the row and start again. Row:"},
    {158, "A row of the sheet table has no valid quantity (a whole number, 0 or more). Correct the row and start again. Row:"},
    {159, "A row of the part table has a length, width or rotation lock that cannot be read (lengths in the current unit, the lock 0 or 1), or the part is below zero once the band is taken off. Correct the row and start again. Row:"},
    {160, "A row of the part table has no valid quantity (a whole number, 0 or more). Correct the row and start again. Row:"},
    {161, "Too many stock sheets: the quantities of the sheet table may add up to at most 5000. Lower the quantities and start again."},
    {162, "Too many parts: the quantities of the part table may add up to at most 10000. Split the job into several projects."},
    {169, "The Alpha value is not a number. Type a decimal number with a full stop, for example 0.001, and press START again."},
    {170, "The P.I.(%) value must be a whole number from 0 to 100. Correct it and press START again."},
    {171, "The search found no layout for this sheet. Press START again with other Alpha or P.I.(%) values, or cancel the manual mode."},
    {172, "The search stopped early because its list of blocks is full; the layouts found so far are offered. Press START again with a smaller Alpha or P.I.(%) for a shorter search."},
    {180, "(price is not a number: correct it under Options, Edge bands)"},
    {181, "This command works once per result, and only when every part has been placed. Run the optimisation again to use it."},
    {182, "The optimisation could not be finished: the computer ran short of memory. The project is unchanged."},
    {288, "The project file cannot be read: it is damaged or not a Velmora project. The rows read before the error have been kept; check them before saving."},
    {295, "A cell of the band type table cannot be converted to the new unit and was left as it was. Check and correct it:"},
    {296, "The value typed cannot be converted to a number and was not taken; the previous value is kept. Type a number with a full stop as the decimal separator."},
    {389, "The DXF file cannot be written. Check that the folder exists and can be written to:"},
    {392, "The DXF settings file (Config/velmdxf.xml) cannot be read; the default settings are used:"},
    {393, "The DXF settings file (Config/velmdxf.xml) cannot be written; the changes were not saved:"},
    {394, "The file is not a valid Quillon project (.qln); only the rows before the error were read. Check the file:"},
    {395, "The old text project is damaged; the rows read before the error have been kept. Check them before saving:"},
    {397, "The project template Config/template.vlp is missing or damaged; install the program again."},
    {399, "The drawing file cannot be written. Check that the folder exists and can be written to:"},
    {236, "A length or width cell does not hold a number, so nothing was imported. Correct the cell (column,row): "},
    {237, "A quantity cell does not hold a whole number, so nothing was imported. Correct the cell (column,row): "},
    {238, "Select at most four columns: length, width, quantity and description."},
    {501, "The spreadsheet file is damaged and cannot be read. File and place:"},
    {502, "The spreadsheet is too large to import (a part unpacks to too much data, or it holds too many cells). File and place:"},
    {503, "The file is not a spreadsheet that can be read (.xlsx, .ods, .xls, .csv or .txt):"},
    {504, "The worksheet was not found in the workbook. Workbook and worksheet:"},
    {505, "The cell range is not valid; give an address such as B2:B40:"},
    {506, "A length or width cell holds 0 or less, so nothing was imported. Correct the cell (column,row):"},
    {507, "A quantity cell holds 0 or less, so nothing was imported. Correct the cell (column,row):"},
    {508, "The table would hold more than 499 rows, so nothing was imported. The first row that does not fit (column,row):"},
    {509, "There is nothing to import: select the cells first and press Preview."},
};

const char* fallbackText(int n)
{
    for (const FallbackText& f : kFallbackTexts)
        if (f.number == n)
            return f.text;
    return "Error.";
}

void printHelp(std::ostream& out)
{
    out << "usage: velmora-cli COMMAND [options] ARGS...\n"
           "       velmora-cli help | --version\n\ncommands:\n";
    for (const Command& c : commands())
        out << "  " << c.synopsis << "\n";
    out << "\noptions of every command:\n"
           "  --settings FILE     read settings from FILE over the defaults\n"
           "  --set NAME=VALUE    set one setting by its value name (repeatable)\n"
           "  --lang NAME         language file (Lang/NAME.vll)\n";
}

// Standard output that cannot take the text (a full disk, a closed pipe) is
// a failure like any other write: the flush shows it.
int checkedOutput(Context& ctx, int code)
{
    ctx.out->flush();
    if (*ctx.out)
        return code;
    if (ctx.outputFailed)
        return kExitUsage;
    return ctx.fail(engine::Status(engine::Msg::CannotWriteOutput, {"standard output"}));
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
    if (status.reason != engine::Msg::Ok)
        s += " - " + plainText(status.reason);
    return s;
}

std::string Context::plainText(engine::Msg m) const
{
    const engine::LanguageTable* table = language();
    const int n = engine::number(m);
    if (table && !table->text(n).empty())
        return table->text(n);
    return fallbackText(n);
}

int Context::fail(const engine::Status& status) const
{
    warn(status);
    return kExitUsage;
}

void Context::warn(const engine::Status& status) const
{
    // The number goes with every message so that scripts can tell them apart.
    std::string line = text(status);
    const std::string tag = "(message " + std::to_string(engine::number(status.msg)) + ")";
    if (line.find(tag) == std::string::npos)
        line += " " + tag;
    *err << "velmora-cli: " << line << "\n";
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
    if (args.empty()) {
        // Nothing asked for is no success: a script that lost its arguments must notice.
        printHelp(err);
        return kExitUsage;
    }
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        printHelp(out);
        return checkedOutput(ctx, kExitOk);
    }
    if (args[0] == "--version" || args[0] == "version") {
        out << "velmora-cli " << velmora::kVersion << "\n";
        return checkedOutput(ctx, kExitOk);
    }

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
        if (!r.problem.ok())
            return ctx.fail(r.problem.msg == engine::Msg::SettingsFileUnreadable
                                ? r.problem
                                : engine::becauseOf(engine::Msg::SettingsFileUnreadable, {value}, r.problem));
        if (!r.brokenValues.empty()) {
            std::vector<std::string> args = {value + ":"};
            args.insert(args.end(), r.brokenValues.begin(), r.brokenValues.end());
            return ctx.fail(engine::Status(engine::Msg::SettingOutOfRange, args));
        }
    }
    while (takeOption(ctx, "--set", value, missing)) {
        if (missing)
            return ctx.usage("--set needs NAME=VALUE");
        const size_t eq = value.find('=');
        if (eq == std::string::npos)
            return ctx.usage("--set needs NAME=VALUE, got '" + value + "'");
        if (const engine::Status st = engine::setSetting(ctx.settings, value.substr(0, eq), value.substr(eq + 1));
            !st.ok()) {
            if (st.msg == engine::Msg::SettingOutOfRange)
                return ctx.fail(st);
            return ctx.usage("cannot set '" + value + "': there is no setting of that name");
        }
    }
    ctx.languageName = ctx.settings.Jezik;
    if (takeOption(ctx, "--lang", value, missing)) {
        if (missing)
            return ctx.usage("--lang needs a language name");
        ctx.languageName = value;
    }
    return checkedOutput(ctx, cmd->run(ctx));
}

bool writeOutput(const Context& ctx, const std::string& target, const std::string& text)
{
    if (target == "-") {
        *ctx.out << text;
        ctx.out->flush();
        if (*ctx.out)
            return true;
        ctx.outputFailed = true;
        ctx.fail(engine::Status(engine::Msg::CannotWriteOutput, {"standard output"}));
        return false;
    }
    const engine::Status written = engine::writeFileAtomically(target, text);
    if (written.ok())
        return true;
    ctx.fail(engine::becauseOf(engine::Msg::CannotWriteOutput, {target}, written));
    return false;
}

int rejectArguments(const Context& ctx, const std::string& usageLine)
{
    for (const std::string& a : ctx.args)
        if (a.size() > 1 && a[0] == '-')
            return ctx.usage("unknown option '" + a + "' (" + usageLine + ")");
    return ctx.usage(usageLine);
}

int openInput(const Context& ctx, const std::string& path, engine::Project& project)
{
    const project_io::OpenOutcome opened = project_io::OpenProject(path, false, project, ctx.settings);
    if (!opened.status.ok())
        return ctx.fail(opened.status);
    for (const engine::Status& w : opened.warnings)
        ctx.warn(w);
    return kExitOk;
}

} // namespace cli
