// Fuzz target: the link's data files. The input is read as a protocol file (expat) and,
// when it reads, bound to the shipped mapping table and made to write a line of each
// section; and as a mapping table, bound to the shipped protocol file and to X-Plane.
// Bad input must end in a LinkError, never in a crash or another exception.
#include <cstddef>
#include <cstdint>
#include <string>

#include "host/core/variables.h"
#include "host/link/binding.h"

namespace {
tarn::Protocol g_protocol;
tarn::Mapping g_mapping;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string dir = TARN_LINK_DIR;
    g_protocol = tarn::read_protocol(dir + "/flightgear/tarn-panel.xml");
    g_mapping = tarn::read_mapping(dir + "/mapping.tsv");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    tarn::VariableStore vars;
    try {
        const tarn::Protocol p = tarn::parse_protocol(text, "fuzz.xml");
        std::vector<double> values(p.output.chunks.size(), 1.5);
        (void)tarn::format_line(values, p.output);
        const tarn::FlightGearBinding fg(p, g_mapping);
        (void)fg.input_line(vars);
    } catch (const tarn::LinkError&) {
    }
    try {
        const tarn::Mapping m = tarn::parse_mapping(text, "fuzz.tsv");
        try {
            const tarn::XPlaneBinding xp(m);
        } catch (const tarn::LinkError&) {
        }
        const tarn::FlightGearBinding fg(g_protocol, m);
        (void)fg.input_line(vars);
    } catch (const tarn::LinkError&) {
    }
    return 0;
}
