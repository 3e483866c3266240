// A running link to a simulator over UDP: what the simulator sends sets the panel's
// variables, the key events the panel sends go to the simulator.
//
//   LinkAddress a = parse_link_address("flightgear:5700");      // throws LinkError
//   SimLink link(a, find_link_dir());                  // reads the files, opens the socket
//   every frame:  sim.step(ms); link.poll(host, now_s); host.update_all();
//   link.lost(now_s) ? "LINK LOST" : ...;   link.stats().frames ...
//
// FlightGear: the panel listens on PORT (default 5700) for the output section of
// link/flightgear/tarn-panel.xml, one line a frame, and sends the input section, one line
// for each poll that saw key events, to the address the lines come from (127.0.0.1 before
// the first), port PORT + 1; key events before the first frame are not sent (the store
// then holds the built-in model's controls, not the simulator's). X-Plane: the panel subscribes with RREF packets to HOST:PORT
// (default 127.0.0.1:49000) for the datarefs of link/mapping.tsv, again every second while
// no answer comes, and sends DREF or CMND packets for key events.
// Each poll reads everything waiting (so a flood never leaves the panel behind) and keeps
// the newest good frame, which is written into the store after every model step: the
// linked variables hold the simulator's values, the others the built-in model's. A line
// or packet with the wrong number of fields, a field that is not a number, NaN or
// infinity is counted and skipped. No good frame for a second: lost() (values hold).
#ifndef TARN_HOST_LINK_LINK_H
#define TARN_HOST_LINK_LINK_H

#include <cstdint>
#include <memory>
#include <string>

#include "host/link/protocol.h"

namespace tarn {

class PanelHost;

enum class Simulator { flightgear, xplane };

struct LinkAddress {
    Simulator simulator = Simulator::flightgear;
    std::string host = "127.0.0.1";       // X-Plane's address; FlightGear's until its lines come
    int port = 5700;                      // FlightGear: where the panel listens; X-Plane: its port
    std::string listen_host = "0.0.0.0";  // where the panel's socket is bound
    int send_port = -1;                   // FlightGear's input port; -1: port + 1
};
constexpr int kFlightGearPort = 5700;

// "flightgear[:PORT]" or "xplane[:HOST[:PORT]]"; throws LinkError saying what is wrong.
LinkAddress parse_link_address(const std::string& text);

// The folder with flightgear/tarn-panel.xml and mapping.tsv: ./link, else the program's
// folder's link or ../link, else the source tree's. Throws LinkError.
std::string find_link_dir();

struct LinkStats {
    uint64_t frames = 0;   // good lines or packets
    uint64_t waiting = 0;  // good lines from a simulator not started yet (elapsed time 0)
    uint64_t skipped = 0;  // bad lines or packets
    uint64_t sent = 0;     // key events sent
    double lost_s = 0;     // time spent without data, in the polls seen
};

class SimLink {
public:
    // Reads the protocol file and mapping table and opens the socket; throws LinkError.
    SimLink(const LinkAddress& address, const std::string& link_dir);
    ~SimLink();
    SimLink(const SimLink&) = delete;
    SimLink& operator=(const SimLink&) = delete;

    // Sends the key events the host has logged since the last poll, reads what waits,
    // and writes the newest frame's values into the host's store. now_s: seconds on any
    // steady clock.
    void poll(PanelHost& host, double now_s);
    // No good frame for a second (counted from the first poll).
    bool lost(double now_s) const;
    const LinkStats& stats() const { return stats_; }
    // The last skipped line's or packet's reason ("" none).
    const std::string& last_problem() const { return problem_; }
    // "FlightGear :5700, 120 frames, 1 skipped, 3 events sent", and ", LINK LOST".
    std::string status(double now_s) const;
    int local_port() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    LinkStats stats_;
    std::string problem_;
};

}  // namespace tarn

#endif
