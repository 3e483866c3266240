// The mapping table bound to FlightGear's protocol file and to X-Plane's datarefs.
#include "host/link/binding.h"

#include <algorithm>

#include "host/core/key_events.h"
#include "host/core/variables.h"

namespace tarn {

namespace {

const char* const kElapsed = "/sim/time/elapsed-sec";

std::string at(const Mapping& m, const MapRow& r) { return m.file + ":" + std::to_string(r.line) + ": "; }
std::string at(const Protocol& p, const Chunk& c) { return p.file + ":" + std::to_string(c.line) + ": "; }

}  // namespace

/* ---- tables ------------------------------------------------------------------------- */

void InTable::add(size_t slot, uint32_t token, const Conversion& c) {
    auto t = std::find_if(targets_.begin(), targets_.end(), [&](const Target& x) { return x.token == token; });
    if (t == targets_.end()) t = targets_.insert(targets_.end(), Target{token, {}});
    t->parts.emplace_back(slot, c);
}

void InTable::apply(const std::vector<double>& values, VariableStore& vars, const std::vector<bool>& known) const {
    for (const Target& t : targets_) {
        double sum = 0;
        bool all = true;
        for (const auto& [slot, c] : t.parts) {
            if (slot >= values.size() || (!known.empty() && !known[slot])) {
                all = false;
                break;
            }
            sum += c.to_variable(values[slot]);
        }
        if (all) vars.set_number(t.token, sum);
    }
}

double OutSlot::value(VariableStore& vars) const {
    double sum = 0;
    for (const auto& [token, c] : parts) sum += c.to_simulator(vars.number(token));
    return sum;
}

bool OutSlot::uses(uint32_t token) const {
    return std::any_of(parts.begin(), parts.end(), [&](const auto& p) { return p.first == token; });
}

/* ---- FlightGear --------------------------------------------------------------------- */

FlightGearBinding::FlightGearBinding(Protocol protocol, const Mapping& m) : protocol_(std::move(protocol)) {
    const Direction& output = protocol_.output;
    const Direction& input = protocol_.input;
    elapsed_ = output.find(kElapsed);
    std::vector<bool> read(output.chunks.size(), false);
    out_.resize(input.chunks.size());
    for (size_t i = 0; i < input.chunks.size(); ++i) out_[i].name = input.chunks[i].node;
    for (const MapRow& r : m.rows) {
        if (r.flightgear.empty() || r.dir == MapDir::command) continue;
        if (r.dir == MapDir::in) {
            const int chunk = output.find(r.flightgear);
            if (chunk < 0)
                throw LinkError(at(m, r) + r.flightgear + " is not a chunk of the output section of " + protocol_.file);
            read[size_t(chunk)] = true;
            in_.add(size_t(chunk), r.id, r.fg);
        } else {
            const int chunk = input.present ? input.find(r.flightgear) : -1;
            if (chunk < 0)
                throw LinkError(at(m, r) + r.flightgear + " is not a chunk of the input section of " + protocol_.file);
            if (output.find(r.flightgear) < 0)
                throw LinkError(at(m, r) + r.flightgear + " is sent but not read back: add it to the output section of " +
                                protocol_.file + " and an in row");
            out_[size_t(chunk)].parts.emplace_back(r.id, r.fg);
        }
    }
    for (size_t i = 0; i < output.chunks.size(); ++i)
        if (!read[i] && int(i) != elapsed_)
            throw LinkError(at(protocol_, output.chunks[i]) + output.chunks[i].node + " has no in row in " + m.file);
    for (size_t i = 0; i < input.chunks.size(); ++i)
        if (out_[i].parts.empty())
            throw LinkError(at(protocol_, input.chunks[i]) + input.chunks[i].node + " has no out row in " + m.file);
}

std::string FlightGearBinding::input_line(VariableStore& vars) const {
    std::vector<double> values;
    values.reserve(out_.size());
    for (const OutSlot& s : out_) values.push_back(s.value(vars));
    return format_line(values, protocol_.input);
}

bool FlightGearBinding::sends(const KeyEventRule& rule) const {
    for (const OutSlot& s : out_)
        if (s.uses(rule.token) || (rule.token2 && s.uses(rule.token2)) || (rule.mirror_token && s.uses(rule.mirror_token)))
            return true;
    return false;
}

/* ---- X-Plane ------------------------------------------------------------------------ */

XPlaneBinding::XPlaneBinding(const Mapping& m) {
    for (const MapRow& r : m.rows) {
        if (r.xplane.empty()) continue;
        if (r.dir == MapDir::command) {
            commands_.emplace_back(r.id, r.xplane);
            continue;
        }
        if (r.dir == MapDir::in) {
            auto n = std::find(names_.begin(), names_.end(), r.xplane);
            if (n == names_.end()) n = names_.insert(names_.end(), r.xplane);
            in_.add(size_t(n - names_.begin()), r.id, r.xp);
        } else {
            auto s = std::find_if(out_.begin(), out_.end(), [&](const OutSlot& o) { return o.name == r.xplane; });
            if (s == out_.end()) s = out_.insert(out_.end(), OutSlot{r.xplane, {}});
            s->parts.emplace_back(r.id, r.xp);
        }
    }
    if (names_.empty()) throw LinkError(m.file + ":1: no in row names an X-Plane dataref");
}

std::string XPlaneBinding::command(uint32_t event) const {
    for (const auto& [id, name] : commands_)
        if (id == event) return name;
    return "";
}

std::vector<std::pair<std::string, double>> XPlaneBinding::event_datarefs(const KeyEventRule& rule,
                                                                          VariableStore& vars) const {
    std::vector<std::pair<std::string, double>> sent;
    for (const OutSlot& s : out_)
        if (s.uses(rule.token) || (rule.token2 && s.uses(rule.token2)) || (rule.mirror_token && s.uses(rule.mirror_token)))
            sent.emplace_back(s.name, s.value(vars));
    return sent;
}

}  // namespace tarn
