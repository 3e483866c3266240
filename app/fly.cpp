// tarn-panel fly: the command line of the headless flight (the work is host/fly.*).
//
//   tarn-panel [--gauges DIR] fly [--config FILE] [--profile FILE] [--seconds N] [--scale S] -o DIR
//              [--link flightgear[:PORT] | --link xplane[:HOST[:PORT]]] [--duration S]
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host/draw/fly.h"

namespace {

bool positive(const std::string& text, double lo, double hi, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && value >= lo && value <= hi;
}

}  // namespace

int fly_main(const std::string& gauges_dir, const std::string& default_config, const std::vector<std::string>& args,
             size_t i) {
    tarn::FlyCommand c;
    c.config = default_config;
    bool seconds_given = false, duration_given = false;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) {
            std::cerr << "fly: " << a << (a.rfind("-", 0) == 0 ? " needs a value\n" : ": unexpected word\n");
            return 2;
        }
        const std::string& value = args[++i];
        double v = 0;
        if (a == "--config") {
            c.config = value;
        } else if (a == "--profile") {
            c.profile = value;
        } else if (a == "-o") {
            c.output_dir = value;
        } else if (a == "--seconds") {
            if (!positive(value, 0.055, 1e6, v)) {
                std::cerr << "fly: --seconds wants seconds between snapshots (0.055 or more), got '" << value << "'\n";
                return 2;
            }
            c.every_s = v;
            seconds_given = true;
        } else if (a == "--link") {
            c.link = value;
        } else if (a == "--duration") {
            if (!positive(value, 0.055, 1e6, v)) {
                std::cerr << "fly: --duration wants the seconds a linked flight lasts (0.055 or more), got '" << value
                          << "'\n";
                return 2;
            }
            c.duration_s = v;
            duration_given = true;
        } else if (a == "--scale") {
            if (!positive(value, 0.05, 4, v)) {
                std::cerr << "fly: --scale wants a number from 0.05 to 4, got '" << value << "'\n";
                return 2;
            }
            c.scale = v;
        } else {
            std::cerr << "fly: unknown option " << a << "\n";
            return 2;
        }
    }
    if (c.output_dir.empty()) {
        std::cerr << "fly: -o DIR is missing\n";
        return 2;
    }
    // A linked flight given only --seconds N lasts N seconds (a snapshot at its end).
    if (!c.link.empty() && seconds_given && !duration_given) c.duration_s = c.every_s;
    return tarn::fly_command(gauges_dir, c, std::cout, std::cerr);
}
