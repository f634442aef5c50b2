// Quality of the two optimisers on public guillotine cutting instances:
// the classic one-stock-size bin packing classes 1-10 (500 instances) and
// the twelve several-stock-size instances, each with parts that may turn and
// with every part locked. Prints Markdown tables: per group the number of
// instances, the sheets (or sheet area) we use, the best-known value and a
// lower bound over the same instances, the gaps, and the median run time.
//
// Run: quality_run [--data DIR] [--auto-rel K] [--manual-rel K] [--manual-n N] [--alpha A,B,..]
//                   [--stop-after S] [--threads T] [--no-manual]
//   --auto-rel K     automatic runs on instances 1..K of every (class, n) group (10: all)
//   --manual-rel K   manual runs on instances 1..K of every group (default 2) ...
//   --manual-n N     ... with at most N parts (default 100, all)
//   --alpha A,B      the Alpha texts of the manual runs (default 0.001, the field's own, and 0.05)
//   --stop-after S   seconds after which a manual search is stopped (default 2)
//   --threads T      threads of the automatic and deep runs (default 1; the result does not depend on it)
//   --deep-effort E  work units of the deep optimisation (default: the program's default effort)
//   --no-deep        no deep runs
//   --every K        only every K-th bin packing instance (1: all)
//   --only A,B       only these bin packing instances (ids as Class_07.2bp_80_6)
//   --classes A,B    only these classes (default 1-10)
//   --no-gcut        no runs on the three-stock-size instances
//   --rotation R     turn, lock or both (default both)
//   --list           one line per bin packing instance on standard error: automatic, deep, best, bound
// Without the data folder it says so and ends with status 0.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "quality/instances.h"
#include "quality/runs.h"
#include "engine/deep_engine.h"

namespace {

struct Options {
    std::string data = BENCH_DATA_DIR;
    int autoRel = 10;
    int manualRel = 2;
    int manualN = 100;
    int threads = 1;
    bool manual = true;
    bool deep = true;
    bool gcut = true;
    std::int64_t deepEffort = engine::kDefaultDeepEffort;
    int every = 1;
    std::vector<std::string> only;  // instance ids; empty: all
    std::string rotation = "both";
    bool list = false;
    std::vector<int> classes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<std::string> alphas = {"0.001", "0.05"};
    double stopAfter = 2.0;
};

[[noreturn]] void die(const std::string& message)
{
    std::fprintf(stderr, "quality_run: %s\n", message.c_str());
    std::exit(1);
}

template <class T>
T need(quality::Read<T> r)
{
    if (!r.ok())
        die(r.error);
    return std::move(r.value);
}

std::string readFile(const std::string& path)
{
    return need(quality::readTextFile(path));
}

std::map<std::string, double> column(const std::string& path, const char* key, const char* value)
{
    const quality::CsvTable table = need(quality::readCsv(readFile(path), path));
    return need(quality::readColumn(table, path, key, value));
}

double lookup(const std::map<std::string, double>& values, const std::string& key, const std::string& what)
{
    const auto it = values.find(key);
    if (it == values.end())
        die("no " + what + " for " + key);
    return it->second;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

std::string percent(double ours, double reference)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%+.2f %%", reference > 0 ? (ours - reference) / reference * 100.0 : 0.0);
    return buf;
}

std::string number(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", v);
    return buf;
}

std::string ms(double seconds)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", seconds * 1000.0);
    return buf;
}

// Sums of one group of instances.
struct Group {
    int instances = 0;
    double ours = 0;
    double best = 0;
    double bound = 0;
    int incomplete = 0;
    int faulty = 0;
    int notGuillotine = 0;
    int stopped = 0;
    int belowBound = 0;  // a result below a lower bound: a fault in the checks or the data
    std::vector<double> seconds;

    void add(const quality::Outcome& o, double value, double bestKnown, double lowerBound)
    {
        ++instances;
        ours += value;
        best += bestKnown;
        bound += lowerBound;
        incomplete += o.complete ? 0 : 1;
        faulty += o.fault.empty() ? 0 : 1;
        notGuillotine += o.guillotine ? 0 : 1;
        stopped += o.stoppedSearches;
        belowBound += value < lowerBound ? 1 : 0;
        seconds.push_back(o.seconds);
    }

    void merge(const Group& g)
    {
        instances += g.instances;
        ours += g.ours;
        best += g.best;
        bound += g.bound;
        incomplete += g.incomplete;
        faulty += g.faulty;
        notGuillotine += g.notGuillotine;
        stopped += g.stopped;
        belowBound += g.belowBound;
        seconds.insert(seconds.end(), g.seconds.begin(), g.seconds.end());
    }
};

std::string notes(const Group& g)
{
    std::string s;
    if (g.faulty)
        s += std::to_string(g.faulty) + " faulty ";
    if (g.incomplete)
        s += std::to_string(g.incomplete) + " incomplete ";
    if (g.notGuillotine)
        s += std::to_string(g.notGuillotine) + " not guillotine ";
    if (g.belowBound)
        s += std::to_string(g.belowBound) + " BELOW THE BOUND ";
    if (g.stopped)
        s += std::to_string(g.stopped) + " searches stopped ";
    return s.empty() ? "ok" : s;
}

void printHeader(const char* groupTitle, const char* valueTitle)
{
    std::printf("| %s | instances | %s | best known | lower bound | gap to best | gap to bound | median ms | checks |\n",
                groupTitle, valueTitle);
    std::printf("|---|---|---|---|---|---|---|---|---|\n");
}

void printRow(const std::string& name, const Group& g)
{
    std::printf("| %s | %d | %s | %s | %s | %s | %s | %s | %s |\n", name.c_str(), g.instances, number(g.ours).c_str(),
                number(g.best).c_str(), number(g.bound).c_str(), percent(g.ours, g.best).c_str(),
                percent(g.ours, g.bound).c_str(), ms(median(g.seconds)).c_str(), notes(g).c_str());
}

void classBenchmark(const Options& opt)
{
    const std::string dir = opt.data + "/2dbpp-bw-mv/";
    const std::string bounds = dir + "bounds.csv";
    const auto bestRot = column(bounds, "instance", "BKS_guill_rot");
    const auto boundRot = column(bounds, "instance", "LB_rot");
    const auto bestOrient = column(bounds, "instance", "BKS_guill_orient_3stage");
    const auto boundOrient = column(bounds, "instance", "LB_orient_L2MV");
    const engine::Settings settings = quality::BenchSettings();

    for (const bool rotation : {true, false}) {
        if ((rotation && opt.rotation == "lock") || (!rotation && opt.rotation == "turn"))
            continue;
        std::printf("\n### Bin packing classes 1-10, %s (sheets used; instances 1-%d of each n)\n\n",
                    rotation ? "parts may turn" : "every part locked", opt.autoRel);
        printHeader("class", "our sheets");
        std::vector<std::pair<std::string, Group>> manualRows;
        Group autoTotal;
        Group deepTotal;
        int deepByDeep = 0;
        for (const int cls : opt.classes) {
            char name[32];
            std::snprintf(name, sizeof name, "Class_%02d.2bp", cls);
            const auto instances = need(quality::readClassFile(readFile(dir + name), name));
            Group autoGroup;
            Group deepGroup;
            int counter = 0;
            std::vector<Group> manualGroups(opt.alphas.size());
            Group autoOnManual;
            for (const quality::Instance& inst : instances) {
                if (inst.relative > opt.autoRel && !(opt.manual && inst.relative <= opt.manualRel))
                    continue;
                if (counter++ % opt.every != 0)
                    continue;
                if (!opt.only.empty() && std::find(opt.only.begin(), opt.only.end(), inst.id) == opt.only.end())
                    continue;
                const double best = lookup(rotation ? bestRot : bestOrient, inst.id, "best-known value");
                const double bound = lookup(rotation ? boundRot : boundOrient, inst.id, "lower bound");
                const engine::Project project = need(quality::makeProject(inst, rotation));
                const quality::Outcome a = quality::runAutomaticOn(project, settings, opt.threads);
                if (inst.relative <= opt.autoRel)
                    autoGroup.add(a, static_cast<double>(a.sheets), best, bound);
                if (opt.deep && inst.relative <= opt.autoRel) {
                    std::string method;
                    const quality::Outcome d = quality::runDeepOn(project, settings, opt.threads, opt.deepEffort, &method);
                    deepGroup.add(d, static_cast<double>(d.sheets), best, bound);
                    deepByDeep += method == "deep" ? 1 : 0;
                    if (opt.list)
                        std::fprintf(stderr, "%s %s auto %lld deep %lld best %.0f bound %.0f %.0f ms\n", inst.id.c_str(),
                                     rotation ? "turn" : "lock", static_cast<long long>(a.sheets),
                                     static_cast<long long>(d.sheets), best, bound, d.seconds * 1000);
                }
                if (opt.manual && inst.relative <= opt.manualRel && inst.itemCount <= opt.manualN) {
                    for (std::size_t k = 0; k < opt.alphas.size(); ++k) {
                        const quality::Outcome m = quality::runManualOn(project, settings, opt.alphas[k], opt.stopAfter);
                        manualGroups[k].add(m, static_cast<double>(m.sheets), best, bound);
                    }
                    autoOnManual.add(a, static_cast<double>(a.sheets), best, bound);
                }
            }
            if (autoGroup.instances > 0)
                printRow(std::to_string(cls), autoGroup);
            if (deepGroup.instances > 0)
                printRow(std::to_string(cls) + " deep", deepGroup);
            std::fflush(stdout);
            deepTotal.merge(deepGroup);
            autoTotal.merge(autoGroup);
            if (autoOnManual.instances > 0) {
                manualRows.emplace_back(std::to_string(cls) + " automatic", autoOnManual);
                for (std::size_t k = 0; k < opt.alphas.size(); ++k)
                    manualRows.emplace_back(std::to_string(cls) + " manual, Alpha " + opt.alphas[k], manualGroups[k]);
            }
        }
        printRow("all", autoTotal);
        if (deepTotal.instances > 0) {
            printRow("all deep", deepTotal);
            std::printf("\nDeep: effort %lld work units; the deep plan replaced the automatic one on %d of %d instances.\n",
                        static_cast<long long>(opt.deepEffort), deepByDeep, deepTotal.instances);
        }
        if (!manualRows.empty()) {
            std::printf("\nManual mode (P.I. 92, combination limit 40000, least-waste candidate, Stop after %g s) "
                        "and the automatic run on the same instances (1-%d of each n, n <= %d):\n\n",
                        opt.stopAfter, opt.manualRel, opt.manualN);
            printHeader("class", "our sheets");
            for (const auto& [name, g] : manualRows)
                printRow(name, g);
        }
        std::fflush(stdout);
    }
}

// The automatic run once per stock size on its own (sizes some part does not
// fit left out), keeping the one with the least sheet area: what a user who
// tries each board in turn would get.
quality::Outcome bestSingleSize(const quality::Instance& inst, bool rotation, const engine::Settings& settings,
                                int threads)
{
    quality::Outcome best;
    double seconds = 0;
    for (const quality::StockSize& size : inst.stock) {
        quality::Instance one = inst;
        one.stock = {size};
        const quality::Read<engine::Project> project = quality::makeProject(one, rotation);
        if (!project.ok())
            continue;
        const quality::Outcome o = quality::runAutomaticOn(project.value, settings, threads);
        seconds += o.seconds;
        if (o.complete && (!best.complete || o.sheetArea < best.sheetArea))
            best = o;
    }
    best.seconds = seconds;
    return best;
}

void stockSizesBenchmark(const Options& opt)
{
    const std::string dir = opt.data + "/vbpp-cintra2008/";
    const auto bestRot = column(dir + "literature_G-VBPP-R.csv", "instance", "best_known");
    const auto boundRot = column(dir + "literature_G-VBPP-R.csv", "instance", "dual_bound");
    const auto bestOrient2 =
        column(dir + "data_variable_sized_bin_packing_2nho_cintra2008.csv", "Path", "Best known solution value");
    const engine::Settings settings = quality::BenchSettings();

    for (const bool rotation : {true, false}) {
        std::printf("\n### Three stock sizes (gcut1d-12d), %s (total sheet area of the sheets used)\n\n",
                    rotation ? "parts may turn" : "every part locked");
        std::printf("%s\n\n", rotation ? "Best known and bound: unlimited-stage guillotine."
                                       : "Best known: 2-stage guillotine (no other is published); bound: part area.");
        std::vector<std::string> methods = {"automatic", "automatic, best single size"};
        if (opt.deep)
            methods.push_back("deep");
        if (opt.manual)
            for (const std::string& alpha : opt.alphas)
                methods.push_back("manual, Alpha " + alpha);
        std::printf("| instance | best known | lower bound |");
        for (const std::string& m : methods)
            std::printf(" %s |", m.c_str());
        std::printf("\n|---|---|---|");
        for (std::size_t m = 0; m < methods.size(); ++m)
            std::printf("---|");
        std::printf("\n");
        std::vector<Group> groups(methods.size());
        for (int k = 1; k <= 12; ++k) {
            const std::string id = "gcut" + std::to_string(k) + "d.txt";
            quality::Instance inst;
            inst.id = id;
            inst.stock = need(quality::readBinsCsv(readFile(dir + id + "_bins.csv"), id + "_bins.csv"));
            inst.items = need(quality::readItemsCsv(readFile(dir + id + "_items.csv"), id + "_items.csv"));
            double partArea = 0;
            for (const quality::ItemType& item : inst.items)
                partArea += static_cast<double>(item.width * item.height * item.copies);
            const double best = lookup(rotation ? bestRot : bestOrient2, id, "best-known value");
            const double bound = rotation ? lookup(boundRot, id, "bound") : partArea;
            const engine::Project project = need(quality::makeProject(inst, rotation));
            std::vector<quality::Outcome> outcomes;
            outcomes.push_back(quality::runAutomaticOn(project, settings, opt.threads));
            outcomes.push_back(bestSingleSize(inst, rotation, settings, opt.threads));
            if (opt.deep)
                outcomes.push_back(quality::runDeepOn(project, settings, opt.threads, opt.deepEffort));
            if (opt.manual)
                for (const std::string& alpha : opt.alphas)
                    outcomes.push_back(quality::runManualOn(project, settings, alpha, opt.stopAfter));
            std::printf("| %s | %s | %s |", id.c_str(), number(best).c_str(), number(bound).c_str());
            for (std::size_t m = 0; m < outcomes.size(); ++m) {
                const quality::Outcome& o = outcomes[m];
                groups[m].add(o, static_cast<double>(o.sheetArea), best, bound);
                std::printf(" %s (%lld)%s |", number(static_cast<double>(o.sheetArea)).c_str(),
                            static_cast<long long>(o.sheets), o.complete && o.fault.empty() ? "" : " !");
            }
            std::printf("\n");
            std::fflush(stdout);
        }
        const auto totalsRow = [&](const char* title, const auto& cell) {
            std::printf("| %s | | |", title);
            for (const Group& g : groups)
                std::printf(" %s |", cell(g).c_str());
            std::printf("\n");
        };
        totalsRow("all", [](const Group& g) { return number(g.ours); });
        totalsRow("gap to best", [](const Group& g) { return percent(g.ours, g.best); });
        totalsRow("gap to bound", [](const Group& g) { return percent(g.ours, g.bound); });
        totalsRow("median ms", [](const Group& g) { return ms(median(g.seconds)); });
        totalsRow("checks", [](const Group& g) { return notes(g); });
        if (!groups.empty())
            std::printf("\nBest known total %s, bound total %s; cells: area (sheets), ! = incomplete or faulty.\n",
                        number(groups[0].best).c_str(), number(groups[0].bound).c_str());
    }
}

} // namespace

int main(int argc, char** argv)
{
    Options opt;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                die(arg + " needs a value");
            return argv[++i];
        };
        const auto count = [&]() {
            const std::string v = value();
            char* end = nullptr;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (end == v.c_str() || *end != '\0' || n < 0 || n > 100000000)
                die(arg + " needs a whole number, not \"" + v + "\"");
            return static_cast<int>(n);
        };
        if (arg == "--data")
            opt.data = value();
        else if (arg == "--auto-rel")
            opt.autoRel = count();
        else if (arg == "--manual-rel")
            opt.manualRel = count();
        else if (arg == "--manual-n")
            opt.manualN = count();
        else if (arg == "--stop-after")
            opt.stopAfter = count();
        else if (arg == "--threads")
            opt.threads = count();
        else if (arg == "--alpha") {
            opt.alphas.clear();
            std::string list = value();
            for (std::size_t start = 0;;) {
                const std::size_t comma = list.find(',', start);
                opt.alphas.push_back(list.substr(start, comma - start));
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else if (arg == "--classes") {
            opt.classes.clear();
            std::string list = value();
            for (std::size_t start = 0;;) {
                const std::size_t comma = list.find(',', start);
                const int c = std::atoi(list.substr(start, comma - start).c_str());
                if (c < 1 || c > 10)
                    die("--classes takes numbers 1 to 10");
                opt.classes.push_back(c);
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else if (arg == "--deep-effort")
            opt.deepEffort = std::max(1, count()) * std::int64_t{1};
        else if (arg == "--rotation") {
            opt.rotation = value();
            if (opt.rotation != "turn" && opt.rotation != "lock" && opt.rotation != "both")
                die("--rotation takes turn, lock or both");
        } else if (arg == "--every")
            opt.every = std::max(1, count());
        else if (arg == "--list")
            opt.list = true;
        else if (arg == "--only") {
            std::string v = value() + ",";
            for (std::size_t at = 0, comma; (comma = v.find(',', at)) != std::string::npos; at = comma + 1)
                if (comma > at)
                    opt.only.push_back(v.substr(at, comma - at));
        }
        else if (arg == "--no-deep")
            opt.deep = false;
        else if (arg == "--no-gcut")
            opt.gcut = false;
        else if (arg == "--no-manual")
            opt.manual = false;
        else
            die("unknown option " + arg);
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(opt.data + "/2dbpp-bw-mv", ec)) {
        std::printf("quality_run: no benchmark data in %s, nothing measured\n", opt.data.c_str());
        return 0;
    }
    std::printf("## Quality on public instances (kerf 0, 300 automatic attempts, %d thread(s))\n", opt.threads);
    classBenchmark(opt);
    if (opt.gcut)
        stockSizesBenchmark(opt);
    return 0;
}
