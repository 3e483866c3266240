// tarn-panel: the command line of the substitute panel host.
//
//   tarn-panel [--gauges DIR] run SCRIPT...    run scenario scripts
//   tarn-panel [--gauges DIR] list             every module's gauges with their sizes
//
// Exit status: 0 all well, 1 an expectation failed, 2 bad input.
#include <unistd.h>

#include <climits>
#include <iostream>
#include <string>
#include <vector>

#include "host/errors.h"
#include "host/host.h"
#include "host/scenario.h"

namespace {

const char* const kUsage =
    "usage: tarn-panel [--gauges DIR] run SCRIPT...\n"
    "       tarn-panel [--gauges DIR] list\n";

std::string default_gauges_dir() {
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "gauges";
    std::string exe(path, size_t(n));
    return exe.substr(0, exe.find_last_of('/')) + "/gauges";
}

int list(const std::string& gauges_dir) {
    tarn::PanelHost host(gauges_dir);
    std::vector<std::string> modules = host.module_names();
    if (modules.empty()) {
        std::cerr << gauges_dir << ": no gauge modules (*.gau) found\n";
        return 2;
    }
    for (const std::string& name : modules) {
        tarn::Plugin& m = host.module(name);
        for (GAUGEHDR* g : m.gauges()) {
            std::cout << name << "!" << g->gauge_name << "\tsize_x_mm " << g->size_x_mm;
            tarn::BitmapInfo info;
            const ELEMENT_HEADER* root = g->elements_list ? g->elements_list[0] : nullptr;
            if (root && m.bitmap(root->resource_id, info)) std::cout << "\t" << info.width << "x" << info.height;
            std::cout << "\n";
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string gauges_dir = default_gauges_dir();
    size_t i = 0;
    while (i < args.size() && args[i].rfind("--", 0) == 0) {
        if (args[i] == "--gauges" && i + 1 < args.size()) {
            gauges_dir = args[i + 1];
            i += 2;
        } else {
            std::cerr << "unknown option " << args[i] << "\n" << kUsage;
            return 2;
        }
    }
    if (i >= args.size()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args[i++];
    try {
        if (command == "list" && i == args.size()) return list(gauges_dir);
        if (command == "run" && i < args.size()) {
            tarn::ScenarioRunner runner(gauges_dir, std::cout);
            for (; i < args.size(); ++i) runner.run_file(args[i]);
            std::cout << runner.passed() << " passed, " << runner.failed() << " failed\n";
            return runner.failed() > 0 ? 1 : 0;
        }
    } catch (const tarn::ScenarioError& e) {
        std::cout.flush();
        std::cerr << e.what() << "\n";
        return 2;
    } catch (const tarn::HostError& e) {
        std::cout.flush();
        std::cerr << e.what() << "\n";
        return 2;
    }
    std::cerr << kUsage;
    return 2;
}
