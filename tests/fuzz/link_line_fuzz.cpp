// Fuzz target: what a FlightGear link reads from the network. The input is one datagram,
// split into lines and parsed against the shipped protocol file's output section (and a
// second section with other separators, factors and offsets); good lines are written into
// a variable store through the shipped mapping table. Bad lines must end in a status, never
// in a crash or a value that is not finite.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "host/core/variables.h"
#include "host/link/binding.h"

namespace {
const tarn::FlightGearBinding* g_fg = nullptr;
tarn::Protocol g_other;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string dir = TARN_LINK_DIR;
    g_fg = new tarn::FlightGearBinding(tarn::read_protocol(dir + "/flightgear/tarn-panel.xml"),
                                       tarn::read_mapping(dir + "/mapping.tsv"));
    g_other = tarn::parse_protocol(
        "<PropertyList><generic><output><line_separator>;;</line_separator><var_separator>tab</var_separator>"
        "<chunk><node>/a</node><factor>0.001</factor><offset>-5</offset></chunk><chunk><node>/b</node></chunk>"
        "</output></generic></PropertyList>",
        "other.xml");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view datagram(reinterpret_cast<const char*>(data), size);
    std::vector<double> values;
    tarn::VariableStore vars;
    const tarn::Protocol* const protocols[] = {&g_fg->protocol(), &g_other};
    for (const tarn::Protocol* p : protocols) {
        const std::string& sep = p->output.line_separator;
        for (size_t at = 0; at < datagram.size();) {
            size_t end = datagram.find(sep, at);
            if (end == std::string_view::npos) end = datagram.size();
            const tarn::LineStatus s = tarn::parse_line(datagram.substr(at, end - at), p->output, values);
            at = end + sep.size();
            if (s != tarn::LineStatus::ok) continue;
            if (values.size() != p->output.chunks.size()) std::abort();
            for (double v : values)
                if (!std::isfinite(v)) std::abort();
            if (p == &g_fg->protocol()) g_fg->in().apply(values, vars);
        }
    }
    return 0;
}
