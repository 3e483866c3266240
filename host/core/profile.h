// Flight profiles: the flight path (airspeed, altitude, attitude, heading, navigation
// signals) as keyframes per channel, and the pilot's actions (key events, settings) at
// their times. The built-in default flight is one of them.
//
//   Profile p = load_profile("flight.txt");      // throws HostError "FILE:LINE: message"
//   double v;
//   if (p.value(Channel::altitude, 61.5, v)) ...  // false: the profile leaves it alone
//   for (const ProfileAction& a : p.actions) ...  // in time order
//
// The format, one entry a line; a '#' that begins a word starts a comment:
//   length 640                           the profile's length (default: its last time)
//   TIME NAME=VALUE [NAME=VALUE]...      keyframes: the channel has VALUE at TIME
//   TIME event ID [VALUE]                a key event sent through the host (VALUE 0 if absent)
//   TIME set TOKEN VALUE | "TEXT"        a variable set directly
// TIME is seconds (12.5) or minutes:seconds (2:05); times never go back. Between two
// keyframes of a channel its value runs linearly (marked "step" below: it jumps at the
// later keyframe); before the first it has the first value, after the last the last.
// Headings may run past 360 (270 to 450 is a right turn through north); they are
// written modulo 360.
#ifndef TARN_HOST_PROFILE_H
#define TARN_HOST_PROFILE_H

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

enum class Channel {
    airspeed,      // knots                                  -> 61, ground speed 832
    altitude,      // feet above sea level (true)            -> 74 (with the altimeter setting), vertical speed 65
    ground,        // feet: ground elevation under the aircraft -> radio height 614
    pitch,         // degrees, nose up positive              -> 78
    bank,          // degrees, right wing down positive      -> 80
    heading,       // degrees                                -> 83, 84 (with the gyro's error), turn rate 70
    loc,           // lateral deviation, -1 .. 1             -> 849
    gs,            // glideslope deviation, -1 .. 1          -> 850
    nav_valid,     // step: lateral guidance valid (0/1)     -> 851
    gs_valid,      // step: glideslope valid (0/1)           -> 852
    tofrom,        // step: 1 TO, -1 FROM, 0 none            -> 853
    dme,           // nautical miles, negative: no signal    -> 372, 373, 374
    marker,        // step: 0 none, 1 outer, 2 middle, 3 inner -> 354
    flaps,         // step: flap command, 0 up .. 1 down     -> the model
    oat,           // degrees Celsius                        -> 341
    qnh,           // millibars: the sea-level pressure (1013.25 when absent)
    gps_distance,  // nautical miles to the waypoint         -> 835 (metres)
    gps_bearing,   // degrees to the waypoint                -> 846, and 854 while the GPS drives the display
    vor2,          // receiver 2 deviation, -127 .. 127      -> 50
    vor2_tofrom,   // step: 0 none, 1 TO, 2 FROM             -> 52
    adf,           // degrees: relative bearing of the NDB   -> 39
    door,          // step: door open amount                 -> 471
    count
};

struct ChannelInfo {
    const char* name;
    bool step;
};
extern const ChannelInfo kChannels[int(Channel::count)];

struct Keyframe {
    double t;
    double value;
};

struct ProfileAction {
    enum Kind { event, set_number, set_text };
    double t = 0;
    int line = 0;
    Kind kind = event;
    uint32_t id = 0;      // event id or token
    uint32_t value = 0;   // event value
    double number = 0;
    std::string text;
};

struct Profile {
    std::string name;
    double length_s = 0;
    std::vector<Keyframe> channels[int(Channel::count)];
    std::vector<ProfileAction> actions;  // in time order

    bool has(Channel c) const { return !channels[int(c)].empty(); }
    // The channel's value at t; false when it has no keyframes.
    bool value(Channel c, double t, double& out) const;
    // Its rate of change at t, per second (0 for step channels and outside the keyframes).
    double slope(Channel c, double t) const;
};

// Throws HostError naming the profile and line.
Profile parse_profile(const std::string& text, const std::string& name);
Profile load_profile(const std::string& path);

// The built-in default flight: cold and dark, both engines started, taxi, take-off,
// climb, a circuit with the autopilot, an approach on the localizer and glideslope with
// the radio altimeter's callouts, landing, shut-down; 640 s.
const std::string& default_profile_text();
Profile default_profile();

}  // namespace tarn

#endif
