// The built-in aircraft: a small systems model of the twin and a flight profile, stepped
// with the host clock, acting on the host's variable store. Key events reach it through
// the host's key-event processing.
//
//   Simulation sim(host);              // model at cold and dark, the default profile loaded
//   sim.load_profile("flight.txt");    // or a profile of one's own (throws HostError)
//   tarn_platform_advance_time(55);
//   sim.step(55);                      // model and profile move on 55 ms
//   host.update_all();                 // gauges see the new values
//
// step() never moves the clock and never updates gauges: the caller does both, so a
// headless run, a scenario script and the viewer drive it the same way.
#ifndef TARN_HOST_SIMULATION_H
#define TARN_HOST_SIMULATION_H

#include <cstdint>
#include <memory>
#include <string>

namespace tarn {

class PanelHost;

class Simulation {
public:
    explicit Simulation(PanelHost& host);
    ~Simulation();
    Simulation(const Simulation&) = delete;
    Simulation& operator=(const Simulation&) = delete;

    // Replaces the profile; throws HostError naming the file and line on bad input.
    void load_profile(const std::string& path);
    // Back to the built-in default flight, from its start.
    void load_default_profile();
    // With the profile off the model still runs (engines, electrics) and the flight path
    // stays where it is.
    void set_profile_enabled(bool enabled);

    // Advances the model (and the profile, when enabled) by `ms` milliseconds.
    void step(uint32_t ms);

    bool finished() const;           // the profile has reached its end
    double profile_time_s() const;   // seconds into the profile
    double profile_length_s() const; // the profile's length in seconds

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tarn

#endif
