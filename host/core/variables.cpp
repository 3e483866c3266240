#include "host/core/variables.h"

#include <cmath>

namespace tarn {

VariableStore::VariableStore() : direct_(kDirect, 0) {}

VAR_KIND VariableStore::kind_of(uint32_t token) {
    switch (token) {
    case 52:   // TO/FROM flag
    case 279:
    case 282:
    case 285:
    case 355:  // DME selection
        return VAR_KIND_INT32;
    case 839:  // GPS waypoint identifier
        return VAR_KIND_TEXT;
    default:
        return VAR_KIND_FLOAT64;
    }
}

int32_t VariableStore::slot_of(uint32_t token) {
    if (token < kDirect) {
        if (direct_[token] == 0) {
            slots_.push_back({token, kind_of(token), 0.0, 0, {}});
            direct_[token] = static_cast<int32_t>(slots_.size());
        }
        return direct_[token] - 1;
    }
    auto [it, fresh] = others_.try_emplace(token, static_cast<int32_t>(slots_.size()));
    if (fresh) slots_.push_back({token, kind_of(token), 0.0, 0, {}});
    return it->second;
}

static int32_t to_int32(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}

bool VariableStore::set_number(uint32_t token, double value) {
    Slot& s = slots_[slot_of(token)];
    if (s.kind == VAR_KIND_TEXT) return false;
    s.number = value;
    s.integer = to_int32(value);
    return true;
}

bool VariableStore::set_text(uint32_t token, std::string_view text) {
    Slot& s = slots_[slot_of(token)];
    if (s.kind != VAR_KIND_TEXT) return false;
    s.text.assign(text);
    return true;
}

double VariableStore::number(uint32_t token) {
    const Slot& s = slots_[slot_of(token)];
    return s.kind == VAR_KIND_INT32 ? s.integer : s.number;
}

std::string VariableStore::text(uint32_t token) { return slots_[slot_of(token)].text; }

void VariableStore::fill(int32_t slot, VAR_VALUE& out) const {
    const Slot& s = slots_[slot];
    VAR_VALUE v{};
    switch (s.kind) {
    case VAR_KIND_INT32: v.d = s.integer; break;
    case VAR_KIND_TEXT: v.p = s.text.c_str(); break;
    default: v.n = s.number; break;
    }
    out = v;
}

void VariableStore::lookup(MODULE_VAR& var) {
    int32_t slot = slot_of(var.id);
    var.var_type = slots_[slot].kind;
    var.var_old = var.var_value;
    fill(slot, var.var_value);
}

void VariableStore::reset() {
    for (Slot& s : slots_) {
        s.number = 0.0;
        s.integer = 0;
        s.text.clear();
    }
}

}  // namespace tarn
