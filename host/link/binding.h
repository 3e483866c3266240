// The mapping table bound to one simulator: which slot of what the simulator sends sets
// which variable, and what the panel sends back for a key event. Pure: no sockets.
//
//   FlightGearBinding fg(read_protocol(".../tarn-panel.xml"), read_mapping(".../mapping.tsv"));
//   std::vector<double> values;
//   if (parse_line(line, fg.protocol().output, values) == LineStatus::ok) fg.in().apply(values, vars);
//   std::string back = fg.input_line(vars);        // the whole input section, one line
//
//   XPlaneBinding xp(read_mapping(".../mapping.tsv"));
//   xp.in().names()[i]                               // dataref subscribed with index i
//   for (auto& d : xp.event_datarefs(rule, vars)) ...  // DREFs a key event makes
#ifndef TARN_HOST_LINK_BINDING_H
#define TARN_HOST_LINK_BINDING_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "host/link/mapping.h"
#include "host/link/protocol.h"

namespace tarn {

class VariableStore;
struct KeyEventRule;

// Values in: slot i is one quantity of the simulator; each variable is the sum of the
// conversions of its slots.
class InTable {
public:
    // Adds a row's part: `slot` contributes to `token`.
    void add(size_t slot, uint32_t token, const Conversion& c);
    // Sets each variable all of whose slots are known (`known` empty: all are).
    void apply(const std::vector<double>& values, VariableStore& vars, const std::vector<bool>& known = {}) const;
    size_t variables() const { return targets_.size(); }

private:
    struct Target {
        uint32_t token;
        std::vector<std::pair<size_t, Conversion>> parts;
    };
    std::vector<Target> targets_;
};

// Values out: one simulator quantity from the sum of its variables' conversions.
struct OutSlot {
    std::string name;
    std::vector<std::pair<uint32_t, Conversion>> parts;
    double value(VariableStore& vars) const;
    bool uses(uint32_t token) const;
};

class FlightGearBinding {
public:
    // Checks that table and protocol file agree: every in row's property is an output chunk
    // and every output chunk has an in row (but the elapsed time, which only tells whether
    // the simulator has started); every out row's property is an input chunk, read back in
    // the output, and every input chunk has an out row. Throws LinkError naming file and line.
    FlightGearBinding(Protocol protocol, const Mapping& mapping);
    const Protocol& protocol() const { return protocol_; }
    const InTable& in() const { return in_; }
    // The chunk of /sim/time/elapsed-sec, or -1: lines where it is 0 come before the
    // simulator runs and are not applied.
    int elapsed_chunk() const { return elapsed_; }
    // Whether a key event changes a variable that the input section carries.
    bool sends(const KeyEventRule& rule) const;
    // The input section's line for the store's state.
    std::string input_line(VariableStore& vars) const;

private:
    Protocol protocol_;
    InTable in_;
    std::vector<OutSlot> out_;  // one per input chunk
    int elapsed_ = -1;
};

class XPlaneBinding {
public:
    explicit XPlaneBinding(const Mapping& mapping);
    const InTable& in() const { return in_; }
    // The datarefs subscribed, by index.
    const std::vector<std::string>& names() const { return names_; }
    // What a key event sends: the command of a cmnd row, else each dataref whose out rows
    // read a variable the event changes (with its value from the store).
    std::string command(uint32_t event) const;
    std::vector<std::pair<std::string, double>> event_datarefs(const KeyEventRule& rule, VariableStore& vars) const;

private:
    InTable in_;
    std::vector<std::string> names_;
    std::vector<OutSlot> out_;
    std::vector<std::pair<uint32_t, std::string>> commands_;
};

}  // namespace tarn

#endif
