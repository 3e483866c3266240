#include "host/view/hover.h"

#include <cstdio>

namespace tarn {

std::string hover_text(const HoverInfo& in) {
    std::string file = in.file;
    if (const size_t slash = file.find_last_of("/\\"); slash != std::string::npos) file = file.substr(slash + 1);
    std::string t = in.gauge + " (" + in.window + ", " + file + ":" + std::to_string(in.line);
    if (in.params) t += ", parameters \"" + *in.params + "\"";
    t += ")";
    if (!in.missing.empty()) return t + ": missing, " + in.missing;
    if (in.help_id != 0) {
        char number[40];
        std::snprintf(number, sizeof number, "help %d (0x%X)", in.help_id, unsigned(in.help_id));
        t += in.help_text.empty() ? ", " + std::string(number) : ", " + in.help_text + " [" + number + "]";
    }
    return t;
}

std::string help_id_text(int help_id) {
    // The host's words for the help ids of the panel's gauges whose meaning is plain from
    // where they lie; others (and ids that two different gauges share) show as numbers.
    struct Entry {
        int id;
        const char* text;
    };
    static const Entry kTexts[] = {
        {0xAB0F, "Avionics master switch"},
        {0xAB13, "Battery master switch"},
        {0xAB15, "Cylinder head temperature"},
        {0xAB16, "Clock"},
        {0xAB1D, "Exhaust gas temperature"},
        {0xAB29, "Fuel quantity, left tank"},
        {0xAB2A, "Fuel quantity, right tank"},
        {0xAB2C, "Fuel pressure"},
        {0xAB39, "Outside air temperature"},
        {0xAB45, "Magneto switches"},
        {0xAB46, "Manifold pressure"},
        {0xAB4B, "Alternator and battery switch"},
        {0xAB4E, "Oil pressure"},
        {0xAB4F, "Oil temperature"},
        {0xAB53, "Elevator trim wheel"},
        {0xAB54, "Elevator trim indicator"},
        {0xAB60, "Clock: time display"},
        {0xAB66, "Suction"},
        {0xAB68, "Tachometer"},
        {0xAB6A, "Propeller levers"},
        {0xAB6B, "Mixture levers"},
        {0xAB6C, "Throttle levers"},
        {0xAB80, "Left generator switch"},
        {0xAB81, "Right generator switch"},
        {0xAA14, "Radio altimeter"},
    };
    for (const Entry& e : kTexts)
        if (e.id == help_id) return e.text;
    return "";
}

}  // namespace tarn
