// A simulator's generic-protocol file (an XML property list) as the link reads it: for
// each direction, the separators and the chunks in the order their values travel.
//
//   Protocol p = read_protocol("link/flightgear/tarn-panel.xml");   // throws LinkError
//   std::vector<double> values;
//   if (parse_line("2400.0,29.5", p.output, values) == LineStatus::ok) ...
//   std::string line = format_line({1, 0.5}, p.input);             // "1,0.500000\n"
//
// The file looks like
//   <PropertyList><generic>
//     <output><line_separator>newline</line_separator><var_separator>,</var_separator>
//       <chunk><name>rpm</name><type>float</type><format>%.1f</format>
//              <node>/engines/engine[0]/rpm</node></chunk> ...
//     </output>
//     <input> ... the same, for what the panel sends ... </input>
//   </generic></PropertyList>
// Only text lines are read (binary_mode is refused) and only numeric chunks (int, bool,
// float, double; string is refused). An output chunk's factor and offset are undone
// (value = (number - offset) / factor); input chunks take none.
#ifndef TARN_HOST_LINK_PROTOCOL_H
#define TARN_HOST_LINK_PROTOCOL_H

#include <string>
#include <string_view>
#include <vector>

#include "host/core/errors.h"

namespace tarn {

// A protocol file, mapping table or link address the link cannot use. The message names
// the file and line. Exit status 2, like other bad input.
class LinkError : public HostError {
public:
    using HostError::HostError;
};

struct Chunk {
    std::string name;
    std::string type = "float";  // int, bool, float, double
    std::string format;          // printf format for the input direction; "" = by type
    std::string node;            // the property path
    double factor = 1, offset = 0;
    int line = 0;                // where the chunk starts in the file
};

struct Direction {
    bool present = false;
    std::string line_separator = "\n";
    std::string var_separator = ",";
    std::vector<Chunk> chunks;
    // The chunk with this property path, or -1.
    int find(std::string_view node) const;
};

struct Protocol {
    std::string file;
    Direction output;  // what the simulator sends
    Direction input;   // what the simulator takes
};

// `name` is used in messages. Throws LinkError.
Protocol parse_protocol(std::string_view text, const std::string& name);
Protocol read_protocol(const std::string& path);

enum class LineStatus { ok, wrong_count, not_number, not_finite };
const char* line_status_text(LineStatus s);

// One line (without its line separator) into one value per chunk, factor and offset
// undone. Leading and trailing blanks of a field are allowed. On any status but ok the
// values are unspecified.
LineStatus parse_line(std::string_view line, const Direction& d, std::vector<double>& values);

// One line in the direction's format, with its line separator. `values` has one value per
// chunk; bool and int chunks are written as whole numbers.
std::string format_line(const std::vector<double>& values, const Direction& d);

}  // namespace tarn

#endif
