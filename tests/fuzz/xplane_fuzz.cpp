// Fuzz target: what an X-Plane link reads from the network, and the packet readers of the
// tests' fake simulator. An RREF answer that reads is written into a variable store
// through the shipped mapping table, as the link does: indexes it never subscribed are
// refused, values that are not finite never come out.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/core/variables.h"
#include "host/link/binding.h"
#include "host/link/xplane.h"

namespace {
const tarn::XPlaneBinding* g_xp = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_xp = new tarn::XPlaneBinding(tarn::read_mapping(std::string(TARN_LINK_DIR) + "/mapping.tsv"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::pair<int32_t, float>> pairs;
    if (tarn::parse_rref(data, size, pairs) == tarn::PacketStatus::ok) {
        const size_t n = g_xp->names().size();
        std::vector<double> values(n, 0.0);
        std::vector<bool> known(n, false);
        bool fits = true;
        for (const auto& [index, value] : pairs) {
            if (!std::isfinite(value)) std::abort();
            fits = fits && index >= 0 && size_t(index) < n;
        }
        if (fits) {
            for (const auto& [index, value] : pairs) {
                values[size_t(index)] = value;
                known[size_t(index)] = true;
            }
            tarn::VariableStore vars;
            g_xp->in().apply(values, vars, known);
        }
    }
    float value;
    int32_t hz, index;
    std::string name;
    (void)tarn::parse_dref(data, size, value, name);
    (void)tarn::parse_cmnd(data, size, name);
    (void)tarn::parse_rref_request(data, size, hz, index, name);
    return 0;
}
