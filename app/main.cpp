// tarn-panel: the command line of the substitute panel host.
//
//   tarn-panel [--gauges DIR] run SCRIPT...    run scenario scripts
//   tarn-panel [--gauges DIR] list             every module's gauges with their sizes
//   tarn-panel [--gauges DIR] render [--config FILE] [--window N | --vcockpit N] [--scale S] [--night]
//              [--set TOKEN=VALUE]... [--script FILE]... -o FILE.png
//   tarn-panel [--gauges DIR] lint [PANEL.cfg]
//   tarn-panel [--gauges DIR] view [--config FILE] [--profile FILE] [--scale S] [--mute] [--frames N]
//   tarn-panel [--gauges DIR] fly [--config FILE] [--profile FILE] [--seconds N] [--scale S] -o DIR
//   tarn-panel [--gauges DIR] sheet [--scale S] [--night|--both] -o FILE.png
//   tarn-panel --help | COMMAND --help       the usage, a command's help (help.cpp)
//
// Before the command, --x87 default|single|double|extended sets the x87 unit's precision
// for the run. The Windows build (TARN_NO_DRAWING) has the host's core only: run and list;
// the commands that draw answer that they are not available, as bad input.
//
// Exit status: 0 all well, 1 an expectation failed, 2 bad input.
#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <climits>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/help.h"
#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/host.h"
#include "host/core/scenario.h"
#include "host/core/x87.h"
#if !defined(TARN_NO_DRAWING)
#include "host/draw/panel.h"
#include "host/draw/snapshot.h"
#endif

#if !defined(TARN_NO_DRAWING)
// The interactive viewer's command line (view.cpp).
int view_command(const std::string& gauges_dir, const std::string& default_config, const std::string& program_dir,
                 const std::vector<std::string>& args, size_t i);
// The headless flight's command line (fly.cpp).
int fly_main(const std::string& gauges_dir, const std::string& default_config, const std::vector<std::string>& args,
             size_t i);
// The contact sheet's command line (sheet.cpp).
int sheet_main(const std::string& gauges_dir, const std::vector<std::string>& args, size_t i);
#endif

namespace {

// The program's folder, ending in a separator, or "" when unknown.
std::string exe_dir() {
#if defined(_WIN32)
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return "";
    std::string exe(path, n);
    return exe.substr(0, exe.find_last_of("\\/") + 1);
#else
    char path[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return "";
    std::string exe(path, size_t(n));
    return exe.substr(0, exe.find_last_of('/') + 1);
#endif
}

std::string default_gauges_dir() { return exe_dir() + "gauges"; }

#if !defined(TARN_NO_DRAWING)
// The panel file used when none is named: panel/panel.cfg in the current folder, else the
// source tree's, beside the program's folder (a build folder sits in the tree).
std::string default_panel_config() {
    const std::string dir = exe_dir();
    for (const std::string& candidate : {std::string("panel/panel.cfg"), dir + "../panel/panel.cfg"}) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
    return "panel/panel.cfg";
}

bool number_option(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

// render's options; false (and a message) on a bad one.
bool parse_render(const std::vector<std::string>& args, size_t i, tarn::RenderCommand& c) {
    c.config = default_panel_config();
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool has_value = i + 1 < args.size();
        double v = 0;
        if (a == "--night") {
            c.options.night = true;
        } else if (!has_value) {
            std::cerr << "render: " << a << (a.rfind("-", 0) == 0 ? " needs a value\n" : ": unexpected word\n");
            return false;
        } else if (a == "--config") {
            c.config = args[++i];
        } else if (a == "-o") {
            c.output = args[++i];
        } else if (a == "--script") {
            c.scripts.push_back(args[++i]);
        } else if (a == "--window") {
            if (!number_option(args[++i], v) || v != int(v) || v < 0 || v > 9999) {
                std::cerr << "render: --window wants a window number, got '" << args[i] << "'\n";
                return false;
            }
            c.options.window = int(v);
        } else if (a == "--vcockpit") {
            if (!number_option(args[++i], v) || v != int(v) || v < 0 || v > 9999) {
                std::cerr << "render: --vcockpit wants a virtual cockpit's number, got '" << args[i] << "'\n";
                return false;
            }
            c.options.vcockpit = int(v);
        } else if (a == "--scale") {
            if (!number_option(args[++i], v) || !(v >= 0.05 && v <= 16)) {
                std::cerr << "render: --scale wants a number from 0.05 to 16, got '" << args[i] << "'\n";
                return false;
            }
            c.options.scale = v;
        } else if (a == "--set") {
            const std::string& s = args[++i];
            const size_t eq = s.find('=');
            if (eq == std::string::npos || !number_option(s.substr(0, eq), v) || v != double(uint32_t(v)) || v < 1) {
                std::cerr << "render: --set wants TOKEN=VALUE, got '" << s << "'\n";
                return false;
            }
            c.sets.emplace_back(uint32_t(v), s.substr(eq + 1));
        } else {
            std::cerr << "render: unknown option " << a << "\n";
            return false;
        }
    }
    if (c.output.empty()) {
        std::cerr << "render: -o FILE.png is missing\n";
        return false;
    }
    if (c.options.window && c.options.vcockpit) {
        std::cerr << "render: --window and --vcockpit each choose one sheet: give one of them\n";
        return false;
    }
    // Refused before the work, not after it: -o replaces a regular file only.
    std::string why;
    if (!tarn::check_output_path(c.output, &why)) {
        std::cerr << "render: " << why << "\n";
        return false;
    }
    return true;
}

#endif

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
    while (i < args.size() && args[i].rfind("-", 0) == 0) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::cout << program_help();
            return 0;
        }
        if (args[i] == "--gauges" && i + 1 < args.size()) {
            gauges_dir = args[i + 1];
            i += 2;
        } else if (args[i] == "--x87" && i + 1 < args.size()) {
            std::string why;
            if (!tarn::set_x87_precision(args[i + 1], &why)) {
                std::cerr << why << "\n";
                return 2;
            }
            i += 2;
        } else {
            std::cerr << "unknown option " << args[i] << "\n" << program_usage();
            return 2;
        }
    }
    if (i >= args.size()) {
        std::cerr << program_usage();
        return 2;
    }
    const std::string command = args[i++];
    if (!command_help(command).empty() && wants_help(args, i)) {
        std::cout << command_help(command);
        return 0;
    }
    try {
        if (command == "list" && i == args.size()) return list(gauges_dir);
#if defined(TARN_NO_DRAWING)
        if (command == "view" || command == "fly" || command == "render" || command == "lint" || command == "sheet") {
            std::cerr << command << ": not available in this build (it has the host's core only: run, list)\n";
            return 2;
        }
#else
        if (command == "view") return view_command(gauges_dir, default_panel_config(), exe_dir(), args, i);
        if (command == "fly") return fly_main(gauges_dir, default_panel_config(), args, i);
        if (command == "sheet") return sheet_main(gauges_dir, args, i);
        if (command == "render") {
            tarn::RenderCommand c;
            if (!parse_render(args, i, c)) {
                std::cerr << program_usage();
                return 2;
            }
            return tarn::render_command(gauges_dir, c, std::cout, std::cerr);
        }
        if (command == "lint" && args.size() - i <= 1)
            return tarn::lint_command(gauges_dir, i < args.size() ? args[i] : default_panel_config(),
                                      std::cout, std::cerr);
#endif
        if (command == "run" && i < args.size()) {
            tarn::ScenarioRunner runner(gauges_dir, std::cout);
#if !defined(TARN_NO_DRAWING)
            tarn::enable_snapshots(runner);
#endif
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
    std::cerr << program_usage();
    return 2;
}
