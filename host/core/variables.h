// The simulator's variables as the host keeps them: token -> value, with the kind of
// value each token delivers (64-bit float unless listed as integer or text).
//
//   VariableStore vars;
//   vars.set_number(390, 2400.0);
//   int slot = vars.slot_of(390);          // resolve once, at install
//   vars.fill(slot, element_var.var_value); // every update: no lookup, no allocation
#ifndef TARN_HOST_VARIABLES_H
#define TARN_HOST_VARIABLES_H

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <deque>
#include <vector>

#include "framework/gauge.h"

namespace tarn {

class VariableStore {
public:
    VariableStore();

    // The kind of value a token delivers.
    static VAR_KIND kind_of(uint32_t token);

    // The slot of a token, made on first use. Slots stay valid for the store's life.
    int32_t slot_of(uint32_t token);

    // Numbers go into numeric tokens (integer tokens keep the value truncated toward zero,
    // held to the 32-bit range, NaN as 0); text goes into text tokens. Returns false when
    // the token holds the other sort of value.
    bool set_number(uint32_t token, double value);
    bool set_text(uint32_t token, std::string_view text);

    double number(uint32_t token);
    std::string text(uint32_t token);

    // The slot's value in the form its token delivers.
    void fill(int32_t slot, VAR_VALUE& out) const;
    // lookup_var: var_value filled from the variable named by var->id.
    void lookup(MODULE_VAR& var);

    // Every variable back to 0 / empty text.
    void reset();

private:
    struct Slot {
        uint32_t token;
        VAR_KIND kind;
        double number;
        int32_t integer;
        std::string text;
    };
    static constexpr uint32_t kDirect = 4096;
    std::vector<int32_t> direct_;                   // token < kDirect -> slot + 1
    std::unordered_map<uint32_t, int32_t> others_;  // larger tokens
    std::deque<Slot> slots_;  // a deque: texts handed out stay put when slots are added
};

}  // namespace tarn

#endif
