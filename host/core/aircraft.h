// The built-in aircraft: a small systems model of the twin, acting on the host's variable
// store. The store is its state: every quantity is read back, moved on and written, so a
// key event or a script's `set` between steps is taken up at the next step. Only whether
// each engine runs is kept inside.
//
//   VariableStore vars;
//   AircraftModel model(vars);
//   model.cold_and_dark();          // everything off, tanks full, levers closed
//   vars.set_number(364, 1);        // (normally through key events)
//   model.step(0.055);              // 55 ms on
//
// What it models, each step of dt seconds (constants in kTwin, one table):
//   engines (per engine): ignition from either magneto, fuel from the tank through the
//     engine-driven or electric pump, the starter cranking while the bus has power and
//     letting go once the engine runs at idle; rpm a first-order lag toward idle, then
//     toward throttle and propeller lever (up to 2700); manifold pressure, oil
//     temperature and pressure, EGT and CHT first-order lags toward targets set by power;
//     fuel burnt from the engine's tank (engine 1 left 304, engine 2 right 303);
//   suction from the faster engine; bus voltage: generators on line above 1000 rpm 28 V,
//     else the battery 24 V (22 V while a starter cranks); avionics bus with its master;
//   flaps moving toward the commanded position; stall warning from airspeed and flaps;
//   decision-height lamp; time of day; the tick counter; the inclinometer ball pushed by
//     unequal engines unless the auto-rudder is on.
#ifndef TARN_HOST_AIRCRAFT_H
#define TARN_HOST_AIRCRAFT_H

#include <cstdint>

namespace tarn {

class VariableStore;

struct AircraftConstants {
    // engines
    double idle_rpm, max_rpm, min_governed_rpm;    // prop lever 0 governs at min_governed_rpm
    double crank_rpm, catch_rpm, starter_release_rpm;
    double spool_up_s, spool_down_s, crank_lag_s;
    double idle_manifold_inhg, manifold_lag_s;
    double oil_temp_idle_c, oil_temp_full_c, oil_temp_lag_s;
    double oil_press_max_psi, oil_press_full_rpm, oil_press_lag_s;
    double egt_base_c, egt_power_c, egt_lean_c, egt_lag_s;
    double cht_base_c, cht_power_c, cht_lag_s, cooling_lag_s;
    // fuel
    double engine_pump_psi, engine_pump_full_rpm, electric_pump_psi, fuel_press_lag_s;
    double burn_idle_gph, burn_full_gph, tank_full_gal;
    // vacuum and electrics
    double suction_max_inhg, suction_full_rpm, suction_lag_s;
    double battery_v, cranking_v, generator_v, generator_online_rpm, powered_v;
    // airframe
    double flaps_travel_s;
    double stall_clean_kt, stall_full_flaps_kt, stall_margin_kt;
    double ball_per_rpm;  // ball units per rpm of difference between the engines
};

extern const AircraftConstants kTwin;

// The variables of one engine.
struct EngineTokens {
    uint32_t rpm, manifold, fuel_press, oil_temp, oil_press, egt, cht;
    uint32_t throttle, prop, mixture, magneto_a, magneto_b, starter, pump, tank, generator;
};
extern const EngineTokens kEngineTokens[2];

class AircraftModel {
public:
    explicit AircraftModel(VariableStore& vars, const AircraftConstants& c = kTwin);

    // Cold and dark on the ground: switches off, levers closed, tanks full, engines cold
    // at the outside air temperature (token 341; 15 C when it is 0), altimeter at
    // 1013.25 mb, DME 1 selected.
    void cold_and_dark();
    // Moves the model on by dt seconds (0 < dt; longer steps are taken in pieces of 0.1 s).
    void step(double dt_s);
    // Flaps command, 0 up .. 1 down.
    void set_flaps_target(double fraction);
    bool engine_running(int engine) const { return running_[engine & 1]; }

private:
    void step_once(double dt);
    VariableStore& vars_;
    const AircraftConstants& c_;
    bool running_[2] = {false, false};
    double flaps_target_ = 0;
};

// Unit conversions of the store.
double celsius_to_rankine(double c);
double rankine_to_celsius(double r);
constexpr double kPsfPerInHg = 70.7328;
constexpr double kPsfPerPsi = 144.0;

}  // namespace tarn

#endif
