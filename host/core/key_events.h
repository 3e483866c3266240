// The host's key-event processing: what each simulator key event does to the variable
// store, as one table of data. Every event that a gauge of either module sends, from a
// mouse list or a callback, is in it.
//
//   VariableStore vars;
//   apply_key_event(vars, 66241, 0);            // toggle battery master: 364 0 -> 1
//   const KeyEventRule* r = find_key_event(65820);
//   if (!r) ...                                   // unknown: the host reports it once
//
// Kinds of rule (token is the variable changed; a, b, c are the rule's numbers):
//   toggle      token := 1 when it is 0, else 0
//   set         token := a
//   pair        token := a, token2 := b           (magneto selections: A and B together)
//   lever       token := value / 16384, held to 0 .. 1 (levers take 0 to 16384)
//   step        token := token + a, held to b .. c
//   wrap        token := token + a, kept in 0 .. 360 (knobs and cards)
//   alternate   token := b when it is a, else a   (DME 1/2)
//   hours       token (seconds of the day): hours := value mod 24, minutes and seconds kept
//   minutes     token: minutes := value mod 60, hours kept, seconds kept
//   copy        token := token2                  (gyro heading := compass heading)
// After the rule, a mirror (mirror token, factor) copies token x factor into the mirror
// token: the altimeter setting in inches of mercury follows the one in millibars, the
// autopilot heading follows the heading index, the displayed course follows receiver 1's
// while receiver 1 drives the display (token 848 at 0), and the GPS/receiver toggle
// restores it.
#ifndef TARN_HOST_KEY_EVENTS_H
#define TARN_HOST_KEY_EVENTS_H

#include <cstddef>
#include <cstdint>

namespace tarn {

class VariableStore;

enum class KeyEventKind { toggle, set, pair, lever, step, wrap, alternate, hours, minutes, copy };

// Mirrors after a rule.
enum class Mirror {
    none,
    scaled,           // mirror_token := token x factor
    when_receiver,    // mirror_token := token when token 848 (display source) is 0
    source_course,    // token 854 := token 45 when token 848 is now 0
};

struct KeyEventRule {
    uint32_t id;
    const char* name;  // what the simulator does, for reports
    KeyEventKind kind;
    uint32_t token;
    double a, b, c;
    uint32_t token2;   // pair: second variable; copy: the source
    Mirror mirror;
    uint32_t mirror_token;
    double factor;
};

// Variables that the host keeps for events whose result no gauge reads.
constexpr uint32_t kTokenAutoRudder = 0x7F000001u;  // auto-coordination on (0/1)

// The rule of an event, or nullptr when the host does not know it.
const KeyEventRule* find_key_event(uint32_t id);
// The whole table, sorted by id.
const KeyEventRule* key_event_rules(size_t* count);
// Applies a known event; false (and nothing changed) for an unknown one.
bool apply_key_event(VariableStore& vars, uint32_t id, uint32_t value);

}  // namespace tarn

#endif
