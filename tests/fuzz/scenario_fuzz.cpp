// Fuzz target: scenario scripts, as `tarn-panel run` reads them, on both gauge modules.
// Bad input must end in a ScenarioError or HostError (exit status 2), never in a crash,
// a sanitizer report or any other exception. Inputs that would write files (snapshot),
// read other files (profile) or run for long (large update, hold or drag counts) are
// passed over: they test the disk and the clock, not the script reader.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "host/core/errors.h"
#include "host/core/scenario.h"
#include "tests/fuzz/fuzz_common.h"

namespace {

std::string g_gauges;

// Whether the script stays within what the target runs: no file commands, small counts.
bool runnable(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::vector<tarn::Word> w;
        try {
            w = tarn::split_words(line);
        } catch (const std::invalid_argument&) {
            continue;  // the runner reports it
        }
        if (w.empty()) continue;
        const std::string& cmd = w[0].text;
        if (cmd == "snapshot" || cmd == "profile") return false;
        if (cmd == "update" || cmd == "hold" || cmd == "drag") {
            for (size_t i = 1; i < w.size(); ++i) {
                const std::string& t = w[i].text;
                // Counts above 200 (or numbers in a form too long to judge) take too long.
                if (t.size() > 3 && t.find_first_of("0123456789") != std::string::npos) return false;
                if (std::strtod(t.c_str(), nullptr) > 200) return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_gauges = fuzz_gauges_dir();
    keep_modules_loaded(g_gauges);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!runnable(text)) return 0;
    std::ostringstream out;
    tarn::ScenarioRunner runner(g_gauges, out);
    try {
        runner.run_text("fuzz.scn", text);
    } catch (const tarn::ScenarioError&) {
    } catch (const tarn::HostError&) {
    }
    return 0;
}
