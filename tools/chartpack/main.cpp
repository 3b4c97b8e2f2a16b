// tabulo-chartpack: renders a chart pack from a range file.
//
//   tabulo-chartpack [--strict] [--quiet] [--jobs N] <ranges.txt> <program-folder>
//   tabulo-chartpack [--strict] [--quiet] [--jobs N] <ranges.txt> --user
//   tabulo-chartpack [--strict] --check <ranges.txt>
//
// Writes <folder>/img/Positions/*.png (36) and img/Holecards/*.png (169),
// only the pictures that changed, and lists them. A file with only some
// spots writes only their charts and leaves every other picture alone.
// --user writes into the per-user chart folder. Consistency faults are
// warnings, or errors with --strict, which also wants all 36 spots (the
// default pack is built that way). --check names the spots the file holds.
// Runs without a display: the offscreen platform is used unless
// QT_QPA_PLATFORM says otherwise.
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tabulo/chartpack/rangefile.h"
#include "tabulo/chartpack/render.h"
#include "tabulo/chartpack/userfolders.h"

namespace {

int usage(FILE* out, int code) {
    std::fprintf(out,
                 "usage: tabulo-chartpack [--strict] [--quiet] [--jobs N] <ranges.txt> "
                 "<program-folder>|--user\n"
                 "       tabulo-chartpack [--strict] --check <ranges.txt>\n");
    return code;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int jobs = 0;
    bool check_only = false, strict = false, quiet = false, user = false;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--jobs" && i + 1 < args.size()) {
            jobs = std::atoi(args[++i].c_str());
        } else if (args[i] == "--check") {
            check_only = true;
        } else if (args[i] == "--strict") {
            strict = true;
        } else if (args[i] == "--quiet") {
            quiet = true;
        } else if (args[i] == "--user") {
            user = true;
        } else if (args[i] == "--help" || args[i] == "-h") {
            return usage(stdout, 0);
        } else if (!args[i].empty() && args[i][0] == '-') {
            return usage(stderr, 2);
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != (check_only || user ? 1u : 2u) || (check_only && user))
        return usage(stderr, 2);
    const std::string& ranges = paths[0];

    chartpack::ChartPack pack;
    try {
        pack = chartpack::loadRangeFile(ranges);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", ranges.c_str(), e.what());
        return 1;
    }
    const auto faults = chartpack::checkConsistency(pack, strict);
    for (const auto& fault : faults)
        std::fprintf(stderr, "%s: %s%s\n", ranges.c_str(),
                     strict ? "" : "warning: ", fault.c_str());
    if (strict && !faults.empty()) return 1;
    if (check_only) {
        if (pack.complete())
            std::printf("%s: holds all %d spots\n", ranges.c_str(), chartpack::kSpotCount);
        else
            std::printf("%s: holds %d of %d spots: %s\n", ranges.c_str(), pack.heldCount(),
                        chartpack::kSpotCount, chartpack::heldSpotKeys(pack).c_str());
        return 0;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = user ? chartpack::userChartFolder() : QString::fromStdString(paths[1]);
    const auto start = std::chrono::steady_clock::now();
    chartpack::PackReport report;
    try {
        report = chartpack::writePack(pack, folder, jobs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tabulo-chartpack: %s\n", e.what());
        return 1;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    if (!quiet)
        for (const QString& name : report.written) std::printf("wrote %s\n", qPrintable(name));
    std::printf("tabulo-chartpack: %d charts written, %d unchanged in %s/img (%lld ms)\n",
                static_cast<int>(report.written.size()), report.unchanged, qPrintable(folder),
                static_cast<long long>(ms));
    if (report.untouched > 0)
        std::printf(
            "tabulo-chartpack: the file holds %d of %d spots (%s); %d other charts, the "
            "hands' among them, left as they were\n",
            pack.heldCount(), chartpack::kSpotCount, chartpack::heldSpotKeys(pack).c_str(),
            report.untouched);
    return 0;
}
