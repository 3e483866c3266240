// The mapping table reader.
#include "host/link/mapping.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/link/protocol.h"

namespace tarn {

double Conversion::to_variable(double raw) const {
    if (bit >= 0) return double((std::llround(std::fmax(-9e18, std::fmin(9e18, raw))) >> bit) & 1);
    return raw * scale + offset;
}

double Conversion::to_simulator(double variable) const {
    if (bit >= 0) return (variable != 0.0 ? 1.0 : 0.0) * double(1 << bit);
    return variable * scale + offset;
}

namespace {

constexpr size_t kMaxFile = 1 << 20;

bool number(const std::string& t, double& v) {
    char* end = nullptr;
    errno = 0;
    v = std::strtod(t.c_str(), &end);
    return !t.empty() && *end == '\0' && errno == 0 && std::isfinite(v);
}

}  // namespace

Mapping parse_mapping(std::string_view text, const std::string& name) {
    if (text.size() > kMaxFile) throw LinkError(name + ":1: larger than 1 MiB: not a mapping table");
    Mapping m;
    m.file = name;
    std::istringstream lines{std::string(text)};
    std::string line;
    int n = 0;
    while (std::getline(lines, line)) {
        ++n;
        auto fail = [&](const std::string& why) { throw LinkError(name + ":" + std::to_string(n) + ": " + why); };
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        for (char c : line)
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r') fail("a control character");
        MapRow r;
        r.line = n;
        if (w[0] == "in") r.dir = MapDir::in;
        else if (w[0] == "out") r.dir = MapDir::out;
        else if (w[0] == "cmnd") r.dir = MapDir::command;
        else fail("'" + w[0] + "': a row starts with in, out or cmnd");
        const size_t want = r.dir == MapDir::command ? 6 : 8;
        if (w.size() != want)
            fail(std::to_string(w.size()) + " fields where a " + w[0] + " row has " + std::to_string(want));
        double id = 0;
        if (!number(w[1], id) || id < 1 || id > 4294967295.0 || id != std::floor(id))
            fail("'" + w[1] + "' is not a variable or event number");
        r.id = uint32_t(id);
        auto conversion = [&](const std::string& path, const std::string& scale, const std::string& offset,
                              Conversion& c) {
            if (path == "-") return;
            if (scale.size() == 4 && scale.rfind("bit", 0) == 0 && scale[3] >= '0' && scale[3] <= '7') {
                c.bit = scale[3] - '0';
                if (offset != "0" && offset != "-") fail("a bit row takes no offset");
                return;
            }
            if (!number(scale, c.scale) || c.scale == 0) fail("scale '" + scale + "' is not a number other than 0");
            if (!number(offset, c.offset)) fail("offset '" + offset + "' is not a number");
        };
        if (r.dir == MapDir::command) {
            if (w[2] != "-" || w[3] != "-" || w[4] != "-") fail("a cmnd row has '-' in the FlightGear columns");
            if (w[5] == "-") fail("a cmnd row names an X-Plane command");
            r.xplane = w[5];
        } else {
            if (w[2] != "-" && w[2][0] != '/') fail("'" + w[2] + "': a FlightGear property path starts with /");
            if (w[2] != "-") r.flightgear = w[2];
            if (w[5] != "-") r.xplane = w[5];
            conversion(w[2], w[3], w[4], r.fg);
            conversion(w[5], w[6], w[7], r.xp);
            if (r.flightgear.empty() && r.xplane.empty()) fail("the row names neither simulator");
        }
        if (r.xplane.size() > 399) fail("the X-Plane name is longer than 399 characters");
        m.rows.push_back(std::move(r));
    }
    if (m.rows.empty()) throw LinkError(name + ":1: no rows");
    return m;
}

Mapping read_mapping(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw LinkError(path + ": cannot be read");
    std::ostringstream s;
    s << in.rdbuf();
    return parse_mapping(s.str(), path);
}

}  // namespace tarn
