// The headless flight: a panel, the built-in aircraft and a profile, run faster than
// real time, writing snapshots of the panel every N seconds of the flight and a summary.
//
//   FlyCommand c;
//   c.config = "panel/panel.cfg";
//   c.output_dir = "flight";                   // snapshot-0000.png ... and summary.txt
//   int status = fly_command("build/gauges", c, std::cout, std::cerr);
//
// The clock moves step_ms before each panel update (55 ms: the simulator's panel rate),
// the aircraft moving with it. Snapshots show every window of the panel on one sheet.
// The summary lists the key events sent (the profile's and the gauges'), the sounds
// played, the radio altimeter's callouts spoken and the final values of the main
// variables. Exit status: 0 the profile reached its end, 1 gauges of the panel were
// missing, 2 bad input (panel file, profile, output folder, link files or address).
//
// With a link (host/link/link.h) a simulator flies the panel instead of the profile: the
// flight runs in real time for duration_s, the built-in model keeps the quantities the
// simulator lacks, snapshots taken while the link is lost carry a LINK LOST banner, and
// the summary counts the link's frames, skipped lines and events sent.
#ifndef TARN_HOST_FLY_H
#define TARN_HOST_FLY_H

#include <cstdint>
#include <ostream>
#include <string>

namespace tarn {

struct FlyCommand {
    std::string config;      // panel file
    std::string profile;     // empty: the built-in default flight
    double every_s = 30;     // seconds of flight between snapshots
    double scale = 0.5;      // pixels per panel unit in the snapshots
    uint32_t step_ms = 55;
    std::string output_dir;
    std::string link;         // "flightgear[:PORT]" or "xplane[:HOST[:PORT]]"; "" none
    double duration_s = 60;   // with a link: seconds of real time flown
    int link_port = -1;       // with a link: the port listened on, or X-Plane's, when not -1
    int link_send_port = -1;  // with a FlightGear link: its input port, when not -1
};

int fly_command(const std::string& gauges_dir, const FlyCommand& command, std::ostream& out, std::ostream& err);

// The callout a WAVE resource of the radio altimeter speaks ("2500 ft", "decision
// height"), or "" for any other sound.
std::string callout_name(const std::string& sound);

}  // namespace tarn

#endif
