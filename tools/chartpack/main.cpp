// tabulo-chartpack: renders the default chart pack from a range file.
//
//   tabulo-chartpack [--jobs N] [--check] <ranges.txt> <program-folder>
//
// Writes <program-folder>/img/Positions/*.png (36) and img/Holecards/*.png
// (169). --check only reads and checks the range file. Runs without a
// display: the offscreen platform is used unless QT_QPA_PLATFORM says
// otherwise.
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "tabulo/chartpack/rangefile.h"
#include "tabulo/chartpack/render.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: tabulo-chartpack [--jobs N] [--check] <ranges.txt> <program-folder>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    int jobs = 0;
    bool check_only = false;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--jobs" && i + 1 < args.size()) {
            jobs = std::atoi(args[++i].c_str());
        } else if (args[i] == "--check") {
            check_only = true;
        } else if (args[i] == "--help" || args[i] == "-h") {
            usage();
            return 0;
        } else if (!args[i].empty() && args[i][0] == '-') {
            return usage();
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != (check_only ? 1u : 2u)) return usage();
    const std::string& ranges = paths[0];

    chartpack::ChartPack pack;
    try {
        pack = chartpack::loadRangeFile(ranges);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", ranges.c_str(), e.what());
        return 1;
    }
    const auto faults = chartpack::checkConsistency(pack);
    for (const auto& fault : faults)
        std::fprintf(stderr, "%s: %s\n", ranges.c_str(), fault.c_str());
    if (!faults.empty()) return 1;
    if (check_only) return 0;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto start = std::chrono::steady_clock::now();
    try {
        chartpack::writePack(pack, QString::fromStdString(paths[1]), jobs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tabulo-chartpack: %s\n", e.what());
        return 1;
    }
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    std::printf("tabulo-chartpack: %d charts in %s/img (%lld ms)\n",
                chartpack::kSpotCount + chartpack::kHandCount, paths[1].c_str(),
                static_cast<long long>(ms));
    return 0;
}
