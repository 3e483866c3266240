// The key-event table, sorted by event id, and the one routine that applies a rule.
#include "host/core/key_events.h"

#include <algorithm>
#include <cmath>

#include "host/core/variables.h"

namespace tarn {

namespace {

using K = KeyEventKind;
using M = Mirror;

constexpr double kInHgPerMb = 0.0295299830714;  // 1 / 33.8639
constexpr double kHalfDegree = 0.00872664625997;  // radians: one trim step
constexpr double kTrimLimit = 0.349065850399;     // radians: 20 degrees each way
constexpr double kTenFeet = 3.048;                // metres: one decision-height step

// clang-format off
constexpr KeyEventRule kRules[] = {
    // id     name                                   kind          token  a        b        c        token2 mirror            mirror_token factor
    {65560,  "toggle strobe/beacon lights",          K::toggle,    11,    0,       0,       0,       0,     M::none,          0,    0},
    {65580,  "toggle autopilot master",              K::toggle,    103,   0,       0,       0,       0,     M::none,          0,    0},
    {65607,  "elevator trim down",                   K::step,      783,   -kHalfDegree, -kTrimLimit, kTrimLimit, 0, M::none,   0,    0},
    {65615,  "elevator trim up",                     K::step,      783,   kHalfDegree,  -kTrimLimit, kTrimLimit, 0, M::none,   0,    0},
    {65662,  "receiver 1 course down",               K::wrap,      45,    -1,      0,       0,       0,     M::when_receiver, 854,  1},
    {65663,  "receiver 1 course up",                 K::wrap,      45,    1,       0,       0,       0,     M::when_receiver, 854,  1},
    {65664,  "receiver 2 course down",               K::wrap,      54,    -1,      0,       0,       0,     M::none,          0,    0},
    {65665,  "receiver 2 course up",                 K::wrap,      54,    1,       0,       0,       0,     M::none,          0,    0},
    {65723,  "toggle localizer hold",                K::toggle,    112,   0,       0,       0,       0,     M::none,          0,    0},
    {65724,  "toggle approach hold",                 K::toggle,    111,   0,       0,       0,       0,     M::none,          0,    0},
    {65729,  "toggle navigation hold",               K::toggle,    105,   0,       0,       0,       0,     M::none,          0,    0},
    {65750,  "toggle panel lights",                  K::toggle,    10,    0,       0,       0,       0,     M::none,          0,    0},
    {65751,  "toggle landing lights",                K::toggle,    14,    0,       0,       0,       0,     M::none,          0,    0},
    {65789,  "clock window value up",                K::step,      336,   1,       -99.99,  999.99,  0,     M::none,          0,    0},
    {65790,  "clock window value down",              K::step,      336,   -1,      -99.99,  999.99,  0,     M::none,          0,    0},
    {65798,  "toggle heading hold",                  K::toggle,    106,   0,       0,       0,       0,     M::none,          0,    0},
    {65799,  "toggle altitude hold",                 K::toggle,    108,   0,       0,       0,       0,     M::none,          0,    0},
    {65820,  "set throttle, engine 1",               K::lever,     558,   0,       0,       0,       0,     M::none,          0,    0},
    {65821,  "set throttle, engine 2",               K::lever,     568,   0,       0,       0,       0,     M::none,          0,    0},
    {65858,  "toggle pitot heat",                    K::toggle,    13,    0,       0,       0,       0,     M::none,          0,    0},
    {65877,  "heading gyro nudge clockwise",         K::wrap,      84,    1,       0,       0,       0,     M::none,          0,    0},
    {65878,  "heading gyro nudge anticlockwise",     K::wrap,      84,    -1,      0,       0,       0,     M::none,          0,    0},
    {65879,  "heading index up",                     K::wrap,      855,   1,       0,       0,       0,     M::scaled,        107,  1},
    {65880,  "heading index down",                   K::wrap,      855,   -1,      0,       0,       0,     M::scaled,        107,  1},
    {65881,  "ADF card up",                          K::wrap,      22,    1,       0,       0,       0,     M::none,          0,    0},
    {65882,  "ADF card down",                        K::wrap,      22,    -1,      0,       0,       0,     M::none,          0,    0},
    {65883,  "altimeter setting up",                 K::step,      75,    1,       946,     1066,    0,     M::scaled,        76,   kInHgPerMb},
    {65884,  "altimeter setting down",               K::step,      75,    -1,      946,     1066,    0,     M::scaled,        76,   kInHgPerMb},
    {65892,  "autopilot altitude preset up",         K::step,      109,   100,     0,       30000,   0,     M::none,          0,    0},
    {65893,  "autopilot altitude preset down",       K::step,      109,   -100,    0,       30000,   0,     M::none,          0,    0},
    {65894,  "autopilot vertical speed up",          K::step,      120,   100,     -5000,   5000,    0,     M::none,          0,    0},
    {65895,  "autopilot vertical speed down",        K::step,      120,   -100,    -5000,   5000,    0,     M::none,          0,    0},
    {65919,  "set mixture, engine 1",                K::lever,     560,   0,       0,       0,       0,     M::none,          0,    0},
    {65920,  "set mixture, engine 2",                K::lever,     570,   0,       0,       0,       0,     M::none,          0,    0},
    {65923,  "set propeller lever, engine 1",        K::lever,     559,   0,       0,       0,       0,     M::none,          0,    0},
    {65924,  "set propeller lever, engine 2",        K::lever,     569,   0,       0,       0,       0,     M::none,          0,    0},
    {65927,  "engine 1 magnetos both",               K::pair,      399,   1,       1,       0,       400,   M::none,          0,    0},
    {65928,  "engine 1 magneto A only",              K::pair,      399,   1,       0,       0,       400,   M::none,          0,    0},
    {65929,  "engine 1 magneto B only",              K::pair,      399,   0,       1,       0,       400,   M::none,          0,    0},
    {65930,  "engine 1 magnetos off",                K::pair,      399,   0,       0,       0,       400,   M::none,          0,    0},
    {65933,  "engine 2 magnetos both",               K::pair,      438,   1,       1,       0,       439,   M::none,          0,    0},
    {65934,  "engine 2 magneto A only",              K::pair,      438,   1,       0,       0,       439,   M::none,          0,    0},
    {65935,  "engine 2 magneto B only",              K::pair,      438,   0,       1,       0,       439,   M::none,          0,    0},
    {65936,  "engine 2 magnetos off",                K::pair,      438,   0,       0,       0,       439,   M::none,          0,    0},
    {65952,  "auto-rudder off",                      K::set,       kTokenAutoRudder, 0, 0,  0,       0,     M::none,          0,    0},
    {65953,  "auto-rudder on",                       K::set,       kTokenAutoRudder, 1, 0,  0,       0,     M::none,          0,    0},
    {66044,  "set clock hours",                      K::hours,     557,   0,       0,       0,       0,     M::none,          0,    0},
    {66045,  "set clock minutes",                    K::minutes,   557,   0,       0,       0,       0,     M::none,          0,    0},
    {66046,  "align heading gyro with compass",      K::copy,      84,    0,       0,       0,       83,    M::none,          0,    0},
    {66240,  "toggle second landing light",          K::toggle,    369,   0,       0,       0,       0,     M::none,          0,    0},
    {66241,  "toggle battery master",                K::toggle,    364,   0,       0,       0,       0,     M::none,          0,    0},
    {66286,  "DME 1/2 toggle",                       K::alternate, 355,   1,       2,       0,       0,     M::none,          0,    0},
    {66293,  "toggle avionics master",               K::toggle,    740,   0,       0,       0,       0,     M::none,          0,    0},
    {66300,  "engine 1 starter",                     K::toggle,    401,   0,       0,       0,       0,     M::none,          0,    0},
    {66301,  "engine 2 starter",                     K::toggle,    440,   0,       0,       0,       0,     M::none,          0,    0},
    {66318,  "aircraft symbol up",                   K::step,      612,   1,       -50,     50,      0,     M::none,          0,    0},
    {66319,  "aircraft symbol down",                 K::step,      612,   -1,      -50,     50,      0,     M::none,          0,    0},
    {66321,  "decision height up",                   K::step,      615,   kTenFeet,  0,     762,     0,     M::none,          0,    0},
    {66322,  "decision height down",                 K::step,      615,   -kTenFeet, 0,     762,     0,     M::none,          0,    0},
    {66337,  "toggle airframe de-ice",               K::toggle,    905,   0,       0,       0,       0,     M::none,          0,    0},
    {66338,  "toggle propeller de-ice",              K::toggle,    904,   0,       0,       0,       0,     M::none,          0,    0},
    {66340,  "toggle fuel pump 1",                   K::toggle,    891,   0,       0,       0,       0,     M::none,          0,    0},
    {66341,  "toggle fuel pump 2",                   K::toggle,    892,   0,       0,       0,       0,     M::none,          0,    0},
    {66363,  "toggle generator 1",                   K::toggle,    565,   0,       0,       0,       0,     M::none,          0,    0},
    {66364,  "toggle generator 2",                   K::toggle,    575,   0,       0,       0,       0,     M::none,          0,    0},
    {66375,  "toggle GPS/receiver as display source", K::toggle,   848,   0,       0,       0,       0,     M::source_course, 854,  1},
    {66376,  "toggle cabin lights",                  K::toggle,    620,   0,       0,       0,       0,     M::none,          0,    0},
    {66379,  "toggle navigation lights",             K::toggle,    619,   0,       0,       0,       0,     M::none,          0,    0},
};
// clang-format on

constexpr size_t kCount = sizeof kRules / sizeof kRules[0];

constexpr bool sorted() {
    for (size_t i = 1; i < kCount; ++i)
        if (kRules[i - 1].id >= kRules[i].id) return false;
    return true;
}
static_assert(sorted(), "the key-event table is sorted by id, each id once");

double wrap360(double v) {
    double r = std::fmod(v, 360.0);
    if (r < 0) r += 360.0;
    return r >= 360.0 ? 0.0 : r;
}

double held(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Seconds of the day, whole and fraction apart.
void split_day(double t, int64_t& hours, int64_t& minutes, double& seconds) {
    if (!std::isfinite(t)) t = 0;
    t = std::fmod(t, 86400.0);
    if (t < 0) t += 86400.0;
    hours = int64_t(t / 3600.0);
    minutes = int64_t((t - double(hours) * 3600.0) / 60.0);
    seconds = t - double(hours) * 3600.0 - double(minutes) * 60.0;
}

}  // namespace

const KeyEventRule* find_key_event(uint32_t id) {
    const KeyEventRule* end = kRules + kCount;
    const KeyEventRule* r = std::lower_bound(kRules, end, id, [](const KeyEventRule& k, uint32_t v) { return k.id < v; });
    return r != end && r->id == id ? r : nullptr;
}

const KeyEventRule* key_event_rules(size_t* count) {
    if (count) *count = kCount;
    return kRules;
}

bool apply_key_event(VariableStore& vars, uint32_t id, uint32_t value) {
    const KeyEventRule* r = find_key_event(id);
    if (r == nullptr) return false;
    const double v = vars.number(r->token);
    switch (r->kind) {
    case K::toggle: vars.set_number(r->token, v == 0.0 ? 1.0 : 0.0); break;
    case K::set: vars.set_number(r->token, r->a); break;
    case K::pair:
        vars.set_number(r->token, r->a);
        vars.set_number(r->token2, r->b);
        break;
    case K::lever: vars.set_number(r->token, held(double(value) / 16384.0, 0.0, 1.0)); break;
    case K::step: vars.set_number(r->token, held((std::isfinite(v) ? v : 0.0) + r->a, r->b, r->c)); break;
    case K::wrap: vars.set_number(r->token, wrap360((std::isfinite(v) ? v : 0.0) + r->a)); break;
    case K::alternate: vars.set_number(r->token, v == r->a ? r->b : r->a); break;
    case K::hours:
    case K::minutes: {
        int64_t h, m;
        double s;
        split_day(v, h, m, s);
        if (r->kind == K::hours) h = value % 24;
        else m = value % 60;
        vars.set_number(r->token, double(h) * 3600.0 + double(m) * 60.0 + s);
        break;
    }
    case K::copy: vars.set_number(r->token, vars.number(r->token2)); break;
    }
    switch (r->mirror) {
    case M::none: break;
    case M::scaled: vars.set_number(r->mirror_token, vars.number(r->token) * r->factor); break;
    case M::when_receiver:
        if (vars.number(848) == 0.0) vars.set_number(r->mirror_token, vars.number(r->token) * r->factor);
        break;
    case M::source_course:
        if (vars.number(848) == 0.0) vars.set_number(r->mirror_token, vars.number(45));
        break;
    }
    return true;
}

}  // namespace tarn
