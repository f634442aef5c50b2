#include "cli/commands.h"

#include <algorithm>
#include <array>
#include <ostream>

#include "project/archive.h"

namespace cli {

namespace {

std::string padRight(const std::string& s, std::size_t w)
{
    const std::size_t n = displayWidth(s);
    return n >= w ? s : s + std::string(w - n, ' ');
}

std::string padLeft(const std::string& s, std::size_t w)
{
    const std::size_t n = displayWidth(s);
    return n >= w ? s : std::string(w - n, ' ') + s;
}

void printTable(std::ostream& out, std::vector<project_io::ArchiveRow> rows, const std::string& unreadable)
{
    for (auto& r : rows)
        r.name = project_io::archiveRowName(r, unreadable);
    // The archive page's column titles.
    std::array<std::size_t, 4> w = {displayWidth("IME ARHIVE"), displayWidth("POVRSINA"), displayWidth("CENA"),
                                    displayWidth("UKUPNO")};
    for (const auto& r : rows) {
        w[0] = std::max(w[0], displayWidth(r.name));
        w[1] = std::max(w[1], displayWidth(r.area));
        w[2] = std::max(w[2], displayWidth(r.price));
        w[3] = std::max(w[3], displayWidth(r.total));
    }
    out << padRight("IME ARHIVE", w[0]) << "  " << padLeft("POVRSINA", w[1]) << "  " << padLeft("CENA", w[2]) << "  "
        << padLeft("UKUPNO", w[3]) << "\n";
    for (const auto& r : rows)
        out << padRight(r.name, w[0]) << "  " << padLeft(r.area, w[1]) << "  " << padLeft(r.price, w[2]) << "  "
            << padLeft(r.total, w[3]) << "\n";
}

} // namespace

int cmdArchive(Context& ctx)
{
    std::string filter;
    bool missing = false;
    if (takeOption(ctx, "--filter", filter, missing) && missing)
        return ctx.usage("--filter needs a text");
    if (ctx.args.size() != 1 || (ctx.args[0].size() > 1 && ctx.args[0][0] == '-'))
        return rejectArguments(ctx, "usage: archive DIR [--filter TEXT]");

    const project_io::ArchiveScan scan =
        project_io::scanArchive(ctx.args[0], filter, engine::areaUnitFromInt(ctx.settings.AreaStyle));
    if (!scan.listed) {
        if (!scan.status.ok())
            return ctx.fail(scan.status);
        *ctx.out << "no project files\n";
        return kExitOk;
    }
    printTable(*ctx.out, scan.rows, ctx.plainText(engine::Msg::ArchiveCannotOpenFile));
    *ctx.out << "Total: " << scan.grandTotal.value_or("") << "\n";
    // The listing goes on past a file that does not read; the command still
    // says that some input could not be read.
    int code = kExitOk;
    for (const auto& r : scan.rows)
        if (!r.readable()) {
            ctx.warn(r.problem);
            code = kExitUsage;
        }
    return code;
}

} // namespace cli
