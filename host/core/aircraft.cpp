// The aircraft systems model. Sections: constants | helpers | cold and dark | one step.
#include "host/core/aircraft.h"

#include <algorithm>
#include <cmath>

#include "host/core/key_events.h"
#include "host/core/variables.h"

namespace tarn {

/* ---- constants ---------------------------------------------------------------------- */

// clang-format off
const AircraftConstants kTwin = {
    /* idle_rpm */ 700, /* max_rpm */ 2700, /* min_governed_rpm */ 2100,
    /* crank_rpm */ 280, /* catch_rpm */ 200, /* starter_release_rpm */ 600,
    /* spool_up_s */ 1.5, /* spool_down_s */ 3.0, /* crank_lag_s */ 1.0,
    /* idle_manifold_inhg */ 12, /* manifold_lag_s */ 0.5,
    /* oil_temp_idle_c */ 60, /* oil_temp_full_c */ 95, /* oil_temp_lag_s */ 90,
    /* oil_press_max_psi */ 80, /* oil_press_full_rpm */ 2300, /* oil_press_lag_s */ 1.5,
    /* egt_base_c */ 450, /* egt_power_c */ 300, /* egt_lean_c */ 80, /* egt_lag_s */ 8,
    /* cht_base_c */ 90, /* cht_power_c */ 110, /* cht_lag_s */ 60, /* cooling_lag_s */ 180,
    /* engine_pump_psi */ 24, /* engine_pump_full_rpm */ 1500, /* electric_pump_psi */ 20, /* fuel_press_lag_s */ 0.5,
    /* burn_idle_gph */ 2, /* burn_full_gph */ 18, /* tank_full_gal */ 55,
    /* suction_max_inhg */ 5.2, /* suction_full_rpm */ 900, /* suction_lag_s */ 1.0,
    /* battery_v */ 24, /* cranking_v */ 22, /* generator_v */ 28, /* generator_online_rpm */ 1000, /* powered_v */ 20,
    /* flaps_travel_s */ 10,
    /* stall_clean_kt */ 72, /* stall_full_flaps_kt */ 62, /* stall_margin_kt */ 5,
    /* ball_per_rpm */ 0.015,
};

//                                   rpm  map  fuelp oilT oilP egt  cht  thr  prop mix  magA magB start pump tank gen
const EngineTokens kEngineTokens[2] = {{390, 391, 425, 416, 418, 413, 415, 558, 559, 560, 399, 400, 401, 891, 304, 565},
                                       {429, 430, 464, 455, 457, 452, 454, 568, 569, 570, 438, 439, 440, 892, 303, 575}};
// clang-format on

/* ---- helpers ------------------------------------------------------------------------ */

double celsius_to_rankine(double c) { return (c + 273.15) * 1.8; }
double rankine_to_celsius(double r) { return r / 1.8 - 273.15; }

namespace {

constexpr uint32_t kAirspeed = 61, kStall = 67, kBall = 69, kAltitude = 74, kAltimeterMb = 75, kAltimeterInHg = 76;
constexpr uint32_t kTicks = 1, kFlaps = 329, kOat = 341, kSuction = 353, kDmeSelect = 355, kBattery = 364;
constexpr uint32_t kTimeOfDay = 557, kRadioHeight = 614, kDecisionHeight = 615, kDhLamp = 616;
constexpr uint32_t kAvionicsMaster = 740, kMainBus = 753, kAvionicsBus = 755;
constexpr double kFlapsFull = 16383;

// One step of a first-order lag with time constant tau.
double lag(double x, double target, double dt, double tau) {
    if (!std::isfinite(x)) x = target;
    return target + (x - target) * std::exp(-dt / tau);
}

double clamp01(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; }

// Standard atmosphere: pressure in inches of mercury at an altitude in feet.
double ambient_inhg(double feet) {
    const double f = 1.0 - 6.8756e-6 * std::clamp(std::isfinite(feet) ? feet : 0.0, -2000.0, 40000.0);
    return 29.92 * std::pow(f, 5.2559);
}

}  // namespace

/* ---- cold and dark ------------------------------------------------------------------ */

AircraftModel::AircraftModel(VariableStore& vars, const AircraftConstants& c) : vars_(vars), c_(c) {}

void AircraftModel::cold_and_dark() {
    running_[0] = running_[1] = false;
    flaps_target_ = 0;
    if (vars_.number(kOat) == 0.0) vars_.set_number(kOat, 15.0);
    const double oat = vars_.number(kOat);
    const double ambient = ambient_inhg(vars_.number(kAltitude));
    for (const EngineTokens& e : kEngineTokens) {
        for (uint32_t t : {e.rpm, e.throttle, e.prop, e.mixture, e.magneto_a, e.magneto_b, e.starter, e.pump,
                           e.generator, e.fuel_press, e.oil_press})
            vars_.set_number(t, 0.0);
        vars_.set_number(e.manifold, ambient * kPsfPerInHg);
        for (uint32_t t : {e.oil_temp, e.egt, e.cht}) vars_.set_number(t, celsius_to_rankine(oat));
        vars_.set_number(e.tank, c_.tank_full_gal);
    }
    // Switches, lights, autopilot, avionics: off.
    for (uint32_t t : {10u, 11u, 13u, 14u, 369u, 619u, 620u, 904u, 905u, kBattery, kAvionicsMaster, 103u, 105u, 106u,
                       108u, 111u, 112u, kTokenAutoRudder, kFlaps, kStall, kDhLamp, kMainBus, kAvionicsBus, kSuction})
        vars_.set_number(t, 0.0);
    vars_.set_number(kAltimeterMb, 1013.25);
    vars_.set_number(kAltimeterInHg, 29.92);
    vars_.set_number(kDmeSelect, 1);
}

void AircraftModel::set_flaps_target(double fraction) { flaps_target_ = clamp01(fraction); }

/* ---- one step ----------------------------------------------------------------------- */

void AircraftModel::step(double dt_s) {
    if (!(dt_s > 0) || !std::isfinite(dt_s)) return;
    while (dt_s > 1e-9) {
        const double dt = std::min(dt_s, 0.1);
        step_once(dt);
        dt_s -= dt;
    }
}

void AircraftModel::step_once(double dt) {
    VariableStore& v = vars_;
    const double oat = v.number(kOat);
    const double ambient = ambient_inhg(v.number(kAltitude));

    // The bus before this step's engines: generators on line, else the battery.
    bool generator_online = false;
    bool cranking_any = false;
    for (const EngineTokens& e : kEngineTokens) {
        if (v.number(e.generator) != 0.0 && v.number(e.rpm) > c_.generator_online_rpm) generator_online = true;
        if (v.number(e.starter) != 0.0) cranking_any = true;
    }
    const bool battery = v.number(kBattery) != 0.0;
    double bus = 0;
    if (generator_online) bus = c_.generator_v;
    else if (battery) bus = cranking_any ? c_.cranking_v : c_.battery_v;
    const bool powered = bus >= c_.powered_v;
    v.set_number(kMainBus, bus);
    v.set_number(kAvionicsBus, v.number(kAvionicsMaster) != 0.0 ? bus : 0.0);

    double fastest = 0;
    double rpms[2];
    for (int i = 0; i < 2; ++i) {
        const EngineTokens& e = kEngineTokens[i];
        const double throttle = clamp01(v.number(e.throttle));
        const double prop = clamp01(v.number(e.prop));
        const double mixture = clamp01(v.number(e.mixture));
        double rpm = std::max(0.0, v.number(e.rpm));
        double tank = v.number(e.tank);
        const bool ignition = v.number(e.magneto_a) != 0.0 || v.number(e.magneto_b) != 0.0;
        const bool cranking = v.number(e.starter) != 0.0 && powered;

        // Fuel pressure: the engine-driven pump turns with the engine, the electric one
        // needs the bus.
        double pump_psi = c_.engine_pump_psi * std::min(1.0, rpm / c_.engine_pump_full_rpm);
        if (v.number(e.pump) != 0.0 && powered) pump_psi = std::max(pump_psi, c_.electric_pump_psi);
        if (!(tank > 0)) pump_psi = 0;
        const double fuel_psi = lag(v.number(e.fuel_press) / kPsfPerPsi, pump_psi, dt, c_.fuel_press_lag_s);
        v.set_number(e.fuel_press, fuel_psi * kPsfPerPsi);
        const bool fuel = tank > 0 && mixture > 0.05 && fuel_psi > 2.0;

        if (!running_[i] && ignition && fuel && rpm >= c_.catch_rpm) running_[i] = true;
        if (running_[i] && (!ignition || !fuel)) running_[i] = false;

        double target = 0, tau = c_.spool_down_s;
        if (running_[i]) {
            const double governed = c_.min_governed_rpm + (c_.max_rpm - c_.min_governed_rpm) * prop;
            target = (c_.idle_rpm + (governed - c_.idle_rpm) * throttle) * std::min(1.0, 0.6 + mixture);
            tau = c_.spool_up_s;
        } else if (cranking) {
            target = c_.crank_rpm;
            tau = c_.crank_lag_s;
        }
        rpm = lag(rpm, target, dt, tau);
        if (rpm < 1.0 && target == 0) rpm = 0;
        v.set_number(e.rpm, rpm);
        rpms[i] = rpm;
        fastest = std::max(fastest, rpm);
        // The starter lets go once the engine runs on its own.
        if (running_[i] && rpm >= c_.starter_release_rpm && v.number(e.starter) != 0.0) v.set_number(e.starter, 0.0);

        // Manifold pressure: ambient at rest, drawn down by a turning engine with the
        // throttle closed.
        const double turning = std::min(1.0, rpm / c_.idle_rpm);
        const double map_target = ambient - (ambient - c_.idle_manifold_inhg) * (1.0 - throttle) * turning;
        const double map = lag(v.number(e.manifold) / kPsfPerInHg, map_target, dt, c_.manifold_lag_s);
        v.set_number(e.manifold, map * kPsfPerInHg);
        const double power = running_[i] ? (rpm / c_.max_rpm) * std::min(1.0, map / ambient) : 0.0;

        // Temperatures and oil pressure.
        const double oil_t = running_[i] ? c_.oil_temp_idle_c + (c_.oil_temp_full_c - c_.oil_temp_idle_c) * power : oat;
        const double egt_t = running_[i] ? c_.egt_base_c + c_.egt_power_c * power + c_.egt_lean_c * (1.0 - mixture) : oat;
        const double cht_t = running_[i] ? c_.cht_base_c + c_.cht_power_c * power : oat;
        v.set_number(e.oil_temp, celsius_to_rankine(lag(rankine_to_celsius(v.number(e.oil_temp)), oil_t, dt,
                                                        running_[i] ? c_.oil_temp_lag_s : c_.cooling_lag_s)));
        v.set_number(e.egt, celsius_to_rankine(lag(rankine_to_celsius(v.number(e.egt)), egt_t, dt,
                                                   running_[i] ? c_.egt_lag_s : c_.cooling_lag_s / 3)));
        v.set_number(e.cht, celsius_to_rankine(lag(rankine_to_celsius(v.number(e.cht)), cht_t, dt,
                                                   running_[i] ? c_.cht_lag_s : c_.cooling_lag_s)));
        const double oil_p_t = c_.oil_press_max_psi * std::sqrt(std::min(1.0, rpm / c_.oil_press_full_rpm));
        v.set_number(e.oil_press, lag(v.number(e.oil_press) / kPsfPerPsi, oil_p_t, dt, c_.oil_press_lag_s) * kPsfPerPsi);

        // Fuel burnt from the engine's tank.
        if (running_[i] && tank > 0) {
            const double gph = (c_.burn_idle_gph + (c_.burn_full_gph - c_.burn_idle_gph) * power) * (0.6 + 0.4 * mixture);
            tank = std::max(0.0, tank - gph * dt / 3600.0);
            v.set_number(e.tank, tank);
        }
    }

    // Vacuum from the faster engine.
    const double suction_t = c_.suction_max_inhg * std::min(1.0, fastest / c_.suction_full_rpm);
    v.set_number(kSuction, lag(v.number(kSuction), suction_t, dt, c_.suction_lag_s));

    // Flaps: electric, they move while the bus has power.
    double flaps = v.number(kFlaps);
    if (powered) {
        const double target = flaps_target_ * kFlapsFull;
        const double most = kFlapsFull / c_.flaps_travel_s * dt;
        flaps += std::clamp(target - flaps, -most, most);
        v.set_number(kFlaps, flaps);
    }

    // Stall warning: in the air, with power, below the stall speed for the flaps plus a margin.
    const double stall_kt = c_.stall_clean_kt - (c_.stall_clean_kt - c_.stall_full_flaps_kt) * clamp01(flaps / kFlapsFull);
    const bool airborne = v.number(kRadioHeight) > 0.3;
    v.set_number(kStall, airborne && powered && v.number(kAirspeed) < stall_kt + c_.stall_margin_kt ? 1.0 : 0.0);

    // Decision-height lamp: at or below the decision height, with avionics power.
    const double dh = v.number(kDecisionHeight);
    v.set_number(kDhLamp, dh > 0 && v.number(kRadioHeight) <= dh && v.number(kAvionicsBus) >= c_.powered_v ? 1.0 : 0.0);

    // The ball: unequal engines push it unless the auto-rudder is on.
    double ball = 0;
    if (airborne && v.number(kTokenAutoRudder) == 0.0) ball = std::clamp((rpms[0] - rpms[1]) * c_.ball_per_rpm, -64.0, 64.0);
    v.set_number(kBall, ball);

    // Time of day and the tick counter.
    double t = std::fmod(v.number(kTimeOfDay) + dt, 86400.0);
    if (!std::isfinite(t) || t < 0) t = 0;
    v.set_number(kTimeOfDay, t);
    v.set_number(kTicks, v.number(kTicks) + 1);
}

}  // namespace tarn
