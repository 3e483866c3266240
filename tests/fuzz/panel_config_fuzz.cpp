// Fuzz target: panel files. The text is read as `tarn-panel lint` and `render` read it;
// when it reads, the panel is made from it (every gauge line installed on both modules)
// and linted. Bad input must end in a PanelConfigError or HostError, never in a crash.
// Background pictures are not loaded: a file name could point anywhere on this machine.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/core/errors.h"
#include "host/core/host.h"
#include "host/draw/panel.h"
#include "host/core/panel_config.h"
#include "platform/host_control.h"
#include "tests/fuzz/fuzz_common.h"

namespace {
std::string g_gauges;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_gauges = fuzz_gauges_dir();
    keep_modules_loaded(g_gauges);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    tarn::PanelConfig cfg;
    try {
        cfg = tarn::parse_panel_config(text, "fuzz/panel.cfg");
    } catch (const tarn::PanelConfigError&) {
        return 0;
    }
    size_t gauges = 0;
    for (tarn::PanelWindow& w : cfg.windows) {
        w.file.clear();
        gauges += w.gauges.size();
    }
    if (gauges > 64) return 0;  // installing hundreds of gauges tests nothing new, slowly
    try {
        tarn::PanelHost host(g_gauges);
        (void)tarn::lint_panel(host, cfg);
        tarn::Panel panel(host, cfg);
        host.update_all();
    } catch (const tarn::HostError&) {
    } catch (const tarn::PanelConfigError&) {
    }
    return 0;
}
