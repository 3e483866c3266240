// The built-in aircraft: the systems model and the profile, stepped together. The
// profile's actions go out through the host's key-event processing like the pilot's; its
// flight path is written into the variable store.
#include "host/core/simulation.h"

#include <cmath>
#include <numbers>

#include "host/core/aircraft.h"
#include "host/core/host.h"
#include "host/core/profile.h"

namespace tarn {

namespace {

constexpr double kFeetToMetres = 0.3048;
constexpr double kKnotsToMs = 0.514444;
constexpr double kFeetPerMb = 27.31;        // altimeter: feet of indicated altitude per millibar
constexpr double kGyroDriftDegPerS = 0.005; // the heading gyro wanders 0.3 degrees a minute

double wrap360(double v) {
    double r = std::fmod(v, 360.0);
    if (r < 0) r += 360.0;
    return r >= 360.0 ? 0.0 : r;
}

double wrap180(double v) {
    double r = wrap360(v + 180.0) - 180.0;
    return r;
}

}  // namespace

struct Simulation::Impl {
    PanelHost& host;
    AircraftModel model;
    Profile profile;
    bool enabled = true;
    double t = 0;
    size_t next_action = 0;
    bool heading_written = false;
    double last_heading = 0;

    Impl(PanelHost& h) : host(h), model(h.vars()), profile(default_profile()) {}

    void fly_path(double dt);
};

Simulation::Simulation(PanelHost& host) : impl_(std::make_unique<Impl>(host)) { impl_->model.cold_and_dark(); }

Simulation::~Simulation() = default;

void Simulation::load_profile(const std::string& path) {
    impl_->profile = tarn::load_profile(path);
    impl_->t = 0;
    impl_->next_action = 0;
}

void Simulation::load_default_profile() {
    impl_->profile = default_profile();
    impl_->t = 0;
    impl_->next_action = 0;
}

void Simulation::set_profile_enabled(bool enabled) { impl_->enabled = enabled; }

bool Simulation::finished() const { return impl_->t >= impl_->profile.length_s; }
double Simulation::profile_time_s() const { return impl_->t; }
double Simulation::profile_length_s() const { return impl_->profile.length_s; }

void Simulation::step(uint32_t ms) {
    Impl& s = *impl_;
    const double dt = ms / 1000.0;
    if (s.enabled && s.t < s.profile.length_s) {
        s.t = std::min(s.t + dt, s.profile.length_s);
        VariableStore& vars = s.host.vars();
        while (s.next_action < s.profile.actions.size() && s.profile.actions[s.next_action].t <= s.t) {
            const ProfileAction& a = s.profile.actions[s.next_action++];
            switch (a.kind) {
            case ProfileAction::event: s.host.send_key_event(a.id, a.value); break;
            case ProfileAction::set_number: vars.set_number(a.id, a.number); break;
            case ProfileAction::set_text: vars.set_text(a.id, a.text); break;
            }
        }
        s.fly_path(dt);
    }
    s.model.step(dt);
}

// Writes the flight path at the profile's time into the store.
void Simulation::Impl::fly_path(double dt) {
    VariableStore& v = host.vars();
    const Profile& p = profile;
    double x;
    if (p.value(Channel::airspeed, t, x)) {
        v.set_number(61, x);
        v.set_number(832, x * kKnotsToMs);
    }
    if (p.value(Channel::altitude, t, x)) {
        double qnh = 1013.25;
        p.value(Channel::qnh, t, qnh);
        v.set_number(74, x + (v.number(75) - qnh) * kFeetPerMb);
        v.set_number(65, p.slope(Channel::altitude, t) * kFeetToMetres * 256.0);
        double ground = 0;
        p.value(Channel::ground, t, ground);
        v.set_number(614, std::max(0.0, x - ground) * kFeetToMetres);
    }
    if (p.value(Channel::pitch, t, x)) v.set_number(78, x);
    if (p.value(Channel::bank, t, x)) v.set_number(80, -x);
    if (p.value(Channel::heading, t, x)) {
        const double h = wrap360(x);
        // The gyro keeps its error (what alignment, nudges and drift made of it).
        double error = heading_written ? wrap180(v.number(84) - last_heading) : 0.0;
        error += kGyroDriftDegPerS * dt;
        v.set_number(84, wrap360(h + error));
        v.set_number(83, wrap360(h + 2.0 * std::sin(h * std::numbers::pi / 180.0)));  // the compass's deviation
        v.set_number(70, p.slope(Channel::heading, t) * 256.0);
        last_heading = h;
        heading_written = true;
    }
    const std::pair<Channel, uint32_t> direct[] = {{Channel::loc, 849},    {Channel::gs, 850},       {Channel::nav_valid, 851},
                                                   {Channel::gs_valid, 852}, {Channel::tofrom, 853}, {Channel::marker, 354},
                                                   {Channel::oat, 341},    {Channel::gps_bearing, 846}, {Channel::vor2, 50},
                                                   {Channel::vor2_tofrom, 52}, {Channel::door, 471}};
    for (const auto& [c, token] : direct)
        if (p.value(c, t, x)) v.set_number(token, x);
    if (p.value(Channel::adf, t, x)) v.set_number(39, wrap360(x));
    if (p.value(Channel::gps_distance, t, x)) v.set_number(835, x * 1852.0);
    if (v.number(848) != 0.0 && p.value(Channel::gps_bearing, t, x)) v.set_number(854, wrap360(x));
    if (p.value(Channel::dme, t, x)) {
        v.set_number(372, x);
        const double speed = x >= 0 ? std::fabs(p.slope(Channel::dme, t)) * 3600.0 : 0.0;
        v.set_number(373, speed);
        v.set_number(374, x >= 0 && speed > 1.0 ? std::min(99.0, x / speed * 60.0) : 0.0);
    }
    if (p.value(Channel::flaps, t, x)) model.set_flaps_target(x);
}

}  // namespace tarn
