// The mapping table between the panel's variables and a simulator's, kept as data
// (link/mapping.tsv). One row a line, fields separated by tabs or blanks, '#' starts a
// comment, '-' marks an empty field:
//
//   # dir  id    flightgear property            scale  offset  x-plane dataref or command  scale  offset
//   in     390   /engines/engine[0]/rpm          1      0       sim/.../engine_speed_rpm[0]  1      0
//   out    364   /controls/switches/master-bat   1      0       sim/.../battery_on[0]        1      0
//   cmnd   65607 -                               -      -       sim/flight_controls/pitch_trim_down
//
//   in    the simulator's quantity sets variable `id`: variable := raw x scale + offset, or,
//         with the scale `bit0` .. `bit7`, that bit of the raw number (0 or 1);
//   out   what the panel sends for a key event touching variable `id`: the simulator's
//         property := the sum, over the rows naming it, of variable x scale + offset;
//   cmnd  key event `id` is sent to X-Plane as a command instead.
// Either simulator's columns may be '-' (that simulator lacks the quantity).
#ifndef TARN_HOST_LINK_MAPPING_H
#define TARN_HOST_LINK_MAPPING_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

struct Conversion {
    double scale = 1, offset = 0;
    int bit = -1;  // 0.. : the variable is this bit of the raw number
    double to_variable(double raw) const;
    double to_simulator(double variable) const;  // one row's part of an out sum
};

enum class MapDir { in, out, command };

struct MapRow {
    MapDir dir = MapDir::in;
    uint32_t id = 0;           // variable token, or key event id for cmnd
    std::string flightgear;    // property path, "" when FlightGear lacks it
    Conversion fg;
    std::string xplane;        // dataref or command, "" when X-Plane lacks it
    Conversion xp;
    int line = 0;
};

struct Mapping {
    std::string file;
    std::vector<MapRow> rows;
};

// Throws LinkError naming the file and line.
Mapping parse_mapping(std::string_view text, const std::string& name);
Mapping read_mapping(const std::string& path);

}  // namespace tarn

#endif
