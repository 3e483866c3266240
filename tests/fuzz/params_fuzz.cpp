// Fuzz target: gauge parameter strings. The first byte chooses one of the gauges that read
// a parameter string (the five engine gauges, "Radio_Alt", "Registration"); the rest, up
// to 4 KiB, is its parameter string. The instance is installed, updated twice, clicked in
// its middle and killed. A string the gauge cannot use is its own business (a default), so
// nothing may throw here at all, and nothing may crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/core/host.h"
#include "platform/host_control.h"
#include "tests/fuzz/fuzz_common.h"

namespace {

const char* const kGauges[] = {"Oil_Temp_Press", "Engine_Temp", "Fuel_Pressure", "Tachometer",
                               "Manifold_Pressure", "Radio_Alt", "Registration"};

tarn::PanelHost* g_host = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string dir = fuzz_gauges_dir();
    keep_modules_loaded(dir);
    g_host = new tarn::PanelHost(dir);  // one host for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 4096 + 1) return 0;
    const char* gauge = kGauges[data[0] % (sizeof kGauges / sizeof kGauges[0])];
    const std::string params(reinterpret_cast<const char*>(data + 1), size - 1);
    tarn::GaugeInstance& g = g_host->create("TARN2_Instruments", gauge, &params);
    tarn_platform_advance_time(55);
    g_host->update_all();
    g_host->press(g, g.width() / 2, g.height() / 2);
    g_host->release(g);
    tarn_platform_advance_time(55);
    g_host->update_all();
    g_host->kill(g);
    g_host->clear_key_events();
    tarn_sound_log_clear();
    return 0;
}
