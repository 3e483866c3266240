// The engine selector: parameter keys, the per-engine spacing of tokens and
// key events, and the rewrite of one gauge's records. Reads and sends nothing.
#include "instruments/engine_select.h"

#include <cstddef>

#include "instruments/params.h"

namespace {

// One block of per-engine values: [first, last], both included, d apart per engine.
struct Spacing {
    UINT32 first;
    UINT32 last;
    UINT32 d;
};

constexpr Spacing kTokenSpacing[] = {
    {127, 161, 35}, {390, 428, 39}, {558, 567, 10}, {608, 608, 1}, {624, 642, 19},
    {700, 707, 8},  {732, 733, 2},  {761, 762, 2},  {801, 801, 1},
};

constexpr Spacing kEventSpacing[] = {
    {65538, 65538, 1}, {65820, 65820, 1}, {65919, 65919, 1}, {65923, 65923, 1}, {65927, 65932, 6},
    {65963, 65967, 5}, {65983, 65987, 5}, {66003, 66007, 5}, {66081, 66083, 3}, {66126, 66127, 2},
    {66300, 66300, 1}, {66313, 66313, 1}, {66329, 66330, 2}, {66340, 66340, 1}, {66345, 66345, 1},
    {66349, 66349, 1}, {66359, 66359, 1}, {66363, 66363, 1},
};

template <size_t N>
UINT32 spacing_of(const Spacing (&table)[N], UINT32 value) {
    for (const Spacing& s : table)
        if (value >= s.first && value <= s.last) return s.d;
    return 0;
}

void remap_var(MODULE_VAR& var, const char* parameters) { var.id = remap_token(parameters, var.id); }

void remap_element(ELEMENT_HEADER* e, const char* parameters) {
    switch (e->element_type) {
    case ELEMENT_TYPE_NEEDLE:
        remap_var(reinterpret_cast<ELEMENT_NEEDLE*>(e)->source_var, parameters);
        break;
    case ELEMENT_TYPE_ICON:
        remap_var(reinterpret_cast<ELEMENT_ICON*>(e)->source_var, parameters);
        break;
    case ELEMENT_TYPE_STRING:
        for (MODULE_VAR& v : reinterpret_cast<ELEMENT_STRING*>(e)->source_var) remap_var(v, parameters);
        break;
    case ELEMENT_TYPE_SLIDER: {
        auto* s = reinterpret_cast<ELEMENT_SLIDER*>(e);
        remap_var(s->source_var_x, parameters);
        remap_var(s->source_var_y, parameters);
        break;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        auto* m = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e);
        remap_var(m->source_var_x, parameters);
        remap_var(m->source_var_y, parameters);
        break;
    }
    case ELEMENT_TYPE_SPRITE: {
        auto* s = reinterpret_cast<ELEMENT_SPRITE*>(e);
        remap_var(s->source_var_x, parameters);
        remap_var(s->source_var_y, parameters);
        remap_var(s->source_var_0, parameters);
        break;
    }
    default:  // static images read no variable
        break;
    }
}

// A list's entries from the last to the first; each entry's children before the entry.
void remap_list(ELEMENT_HEADER** list, size_t count, const char* parameters) {
    for (size_t i = count; i-- > 0;) {
        ELEMENT_HEADER* e = list[i];
        if (e->next_element != nullptr) {
            size_t children = 0;
            while (e->next_element[children] != nullptr) ++children;
            remap_list(e->next_element, children, parameters);
        }
        remap_element(e, parameters);
    }
}

}  // namespace

extern "C" {

UINT32 engine_steps(const char* parameters) {
    if (parameters == nullptr || param_has_key(parameters, '1') != nullptr) return 0;
    if (param_has_key(parameters, '2') != nullptr) return 1;
    if (param_has_key(parameters, '3') != nullptr) return 2;
    if (param_has_key(parameters, '4') != nullptr) return 3;
    return 0;
}

UINT32 token_spacing(UINT32 token) { return spacing_of(kTokenSpacing, token); }

UINT32 event_spacing(UINT32 event_id) { return spacing_of(kEventSpacing, event_id); }

UINT32 remap_token(const char* parameters, UINT32 token) {
    return token + engine_steps(parameters) * token_spacing(token);
}

UINT32 remap_event(const char* parameters, UINT32 event_id) {
    return event_id + engine_steps(parameters) * event_spacing(event_id);
}

void select_engine(GAUGEHDR* gauge) {
    if (gauge == nullptr) return;
    const char* parameters = gauge->parameters;
    if (MOUSERECT* mouse = gauge->mouse_rect) {
        size_t count = 0;
        while (mouse[count].rect_type != MOUSE_RECT_EOL) ++count;
        for (size_t i = count; i-- > 0;)
            if (mouse[i].rect_type == MOUSE_RECT_CHILD) mouse[i].event_id = remap_event(parameters, mouse[i].event_id);
    }
    // Only the first entry of the header's element list is the gauge's root.
    if (gauge->elements_list != nullptr && gauge->elements_list[0] != nullptr)
        remap_list(gauge->elements_list, 1, parameters);
}

}  // extern "C"
