// Throttle quadrant: "Throttle_Quadrant". The six engine levers follow the simulator's
// lever positions; a click or drag in a lever's column sets that lever to the height of
// the mouse, and the narrow strip between the two levers of a pair sets both. The trim
// wheel turns with the elevator trim; its halves step the trim.
// Reads 558, 559, 560 (engine 1 throttle, propeller, mixture lever), 568, 569, 570 (the
// same for engine 2), 783 (elevator trim, radians).
// Sends 65820, 65821 (throttle 1, 2), 65923, 65924 (propeller 1, 2), 65919, 65920
// (mixture 1, 2), each with the lever position 0 to 16384; the trim wheel's regions send
// 65607 and 65615 through the host's mouse handling.
#include <cmath>

#include "framework/whole_number.h"
#include "instruments/tarn2.h"

namespace {

static_assert(OVERLAY == 0x3);

static_assert(CLICK_DRAG == 0x20800000 && CLICK_REPEAT == 0x20200000);

/* ---- state and callbacks --------------------------------------------------------- */

// The header of the latest gauge-callback call: the lever callbacks read their own
// region's height from its mouse list.
PGAUGEHDR throttle_quadrant_header = NULL;

// Keeps the header it is given on every call. The header of a gauge that goes away is
// forgotten at its pre-kill call, so no lever reads a list that is no longer there; until
// the next call the levers read the gauge's declared list, whose heights are the same.
void TARN_CALL throttle_quadrant_cb(PGAUGEHDR gauge, SINT32 service_id, UINT32) {
    throttle_quadrant_header = gauge;
    if (service_id == PANEL_SERVICE_PRE_KILL) throttle_quadrant_header = NULL;
}

// The trim wheel's frame advances one per degree of trim and repeats every 6 degrees;
// 0 rad shows frame 2. Below -20 degrees the remainder is negative: it wraps into 0 to 5.
// Whole degrees are snapped onto the whole number before the remainder is taken: -58
// degrees in radians times the factor comes to a hair below -38, which would give 3.999...
// (frame 3) instead of 4, and -116 degrees 5.999... (frame 5) instead of 0.
FLOAT64 TARN_CALL trim_wheel_frame(ELEMENT_ICON* e) {
    FLOAT64 frame = std::fmod(snap_whole(e->source_var.var_value.n * 57.29577951308232 + 20), 6);
    if (frame < 0) frame += 6;
    return frame;
}

// Height of the child region whose callback is `lever`, or 0 when there is none.
SINT32 lever_region_height(MOUSE_FUNCTION lever) {
    const GAUGEHDR* gauge = throttle_quadrant_header != NULL ? throttle_quadrant_header : &throttle_quadrant_gauge;
    if (gauge->mouse_rect == NULL) return 0;
    for (const MOUSERECT* r = gauge->mouse_rect; r->rect_type != MOUSE_RECT_EOL; ++r)
        if (r->rect_type == MOUSE_RECT_CHILD && r->mouse_function == lever) return r->relative_box.height;
    return 0;
}

// The lever position for a point inside the region of `lever`: the top edge gives 16384,
// the bottom edge 0, beyond them the ends. Sent to each event in order, with one value.
BOOL lever_set(MOUSE_FUNCTION lever, PPIXPOINT point, UINT32 first_event, UINT32 second_event) {
    const SINT32 height = lever_region_height(lever);
    if (point == NULL || height <= 0) return FALSE;
    FLOAT64 c = 1.0 - FLOAT64(point->y) / FLOAT64(height);
    if (c <= 0) c = 0;
    if (c >= 1) c = 1;
    const UINT32 value = UINT32(c * 16384);
    trigger_key_event(first_event, value);
    if (second_event != 0) trigger_key_event(second_event, value);
    return FALSE;
}

BOOL TARN_CALL lever_throttle_1(PPIXPOINT point, FLAGS32) { return lever_set(lever_throttle_1, point, 65820, 0); }
BOOL TARN_CALL lever_throttle_both(PPIXPOINT point, FLAGS32) { return lever_set(lever_throttle_both, point, 65820, 65821); }
BOOL TARN_CALL lever_throttle_2(PPIXPOINT point, FLAGS32) { return lever_set(lever_throttle_2, point, 65821, 0); }
BOOL TARN_CALL lever_prop_1(PPIXPOINT point, FLAGS32) { return lever_set(lever_prop_1, point, 65923, 0); }
BOOL TARN_CALL lever_prop_both(PPIXPOINT point, FLAGS32) { return lever_set(lever_prop_both, point, 65923, 65924); }
BOOL TARN_CALL lever_prop_2(PPIXPOINT point, FLAGS32) { return lever_set(lever_prop_2, point, 65924, 0); }
BOOL TARN_CALL lever_mixture_1(PPIXPOINT point, FLAGS32) { return lever_set(lever_mixture_1, point, 65919, 0); }
BOOL TARN_CALL lever_mixture_both(PPIXPOINT point, FLAGS32) { return lever_set(lever_mixture_both, point, 65919, 65920); }
BOOL TARN_CALL lever_mixture_2(PPIXPOINT point, FLAGS32) { return lever_set(lever_mixture_2, point, 65920, 0); }

/* ---- "Throttle_Quadrant" --------------------------------------------------------- */
// Each element's child list holds the next one, in drawing order. Sliders have no x
// variable and no callbacks: the bitmap moves down by value times y scale (the levers'
// negative scales move them up as the lever goes forward).

#define QUADRANT_SLIDER(id, x, y, token, scale, next)                                                      \
    {                                                                                                      \
        .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = id, .position = {x, y},            \
                   .next_element = next, .image_flags = OVERLAY},                                         \
        .source_var_x = {0}, .scale_x = 1.0, .source_var_y = {token}, .scale_y = scale,                   \
    }

extern ELEMENT_SLIDER trim_indicator;
extern ELEMENT_ICON trim_wheel;
extern ELEMENT_SLIDER throttle_1_lever;
extern ELEMENT_SLIDER throttle_2_lever;
extern ELEMENT_SLIDER prop_1_lever;
extern ELEMENT_SLIDER prop_2_lever;
extern ELEMENT_SLIDER mixture_1_lever;
extern ELEMENT_SLIDER mixture_2_lever;

ELEMENT_HEADER* quadrant_next[] = {&trim_indicator.header, NULL};
ELEMENT_STATIC_IMAGE quadrant = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1040, .position = {0, 0},
               .next_element = quadrant_next, .image_flags = OVERLAY},
};
ELEMENT_HEADER* trim_indicator_next[] = {&trim_wheel.header, NULL};
ELEMENT_SLIDER trim_indicator = QUADRANT_SLIDER(1110, 10, 68, 783, 60.160568488736445, trim_indicator_next);
ELEMENT_HEADER* trim_wheel_next[] = {&throttle_1_lever.header, NULL};
ELEMENT_ICON trim_wheel = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 1120, .position = {173, 30},
               .next_element = trim_wheel_next, .image_flags = OVERLAY},
    .source_var = {783}, .update_cb = trim_wheel_frame, .picture_count = 6,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* throttle_1_lever_next[] = {&throttle_2_lever.header, NULL};
ELEMENT_SLIDER throttle_1_lever = QUADRANT_SLIDER(1070, 7, 80, 558, -68, throttle_1_lever_next);
ELEMENT_HEADER* throttle_2_lever_next[] = {&prop_1_lever.header, NULL};
ELEMENT_SLIDER throttle_2_lever = QUADRANT_SLIDER(1100, 47, 80, 568, -68, throttle_2_lever_next);
ELEMENT_HEADER* prop_1_lever_next[] = {&prop_2_lever.header, NULL};
ELEMENT_SLIDER prop_1_lever = QUADRANT_SLIDER(1060, 78, 81, 559, -79, prop_1_lever_next);
ELEMENT_HEADER* prop_2_lever_next[] = {&mixture_1_lever.header, NULL};
ELEMENT_SLIDER prop_2_lever = QUADRANT_SLIDER(1090, 101, 81, 569, -79, prop_2_lever_next);
ELEMENT_HEADER* mixture_1_lever_next[] = {&mixture_2_lever.header, NULL};
ELEMENT_SLIDER mixture_1_lever = QUADRANT_SLIDER(1050, 126, 81, 560, -70, mixture_1_lever_next);
ELEMENT_SLIDER mixture_2_lever = QUADRANT_SLIDER(1080, 149, 81, 570, -70, NULL);
ELEMENT_HEADER* quadrant_list[] = {&quadrant.header, NULL};

MOUSERECT quadrant_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_PARENT_BEGIN(7, 30, 70, 68, 0xab6c),  // throttles
            MOUSE_CHILD_FUNCT(0, 0, 31, 68, CURSOR_HAND, CLICK_DRAG, lever_throttle_1),
            MOUSE_CHILD_FUNCT(31, 0, 8, 68, CURSOR_HAND, CLICK_DRAG, lever_throttle_both),
            MOUSE_CHILD_FUNCT(39, 0, 31, 68, CURSOR_HAND, CLICK_DRAG, lever_throttle_2),
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(78, 20, 43, 79, 0xab6a),  // propellers
            MOUSE_CHILD_FUNCT(0, 0, 20, 79, CURSOR_HAND, CLICK_DRAG, lever_prop_1),
            MOUSE_CHILD_FUNCT(20, 0, 3, 79, CURSOR_HAND, CLICK_DRAG, lever_prop_both),
            MOUSE_CHILD_FUNCT(23, 0, 20, 79, CURSOR_HAND, CLICK_DRAG, lever_prop_2),
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(126, 30, 46, 70, 0xab6b),  // mixtures
            MOUSE_CHILD_FUNCT(0, 0, 22, 70, CURSOR_HAND, CLICK_DRAG, lever_mixture_1),
            MOUSE_CHILD_FUNCT(22, 0, 2, 70, CURSOR_HAND, CLICK_DRAG, lever_mixture_both),
            MOUSE_CHILD_FUNCT(24, 0, 22, 70, CURSOR_HAND, CLICK_DRAG, lever_mixture_2),
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(10, 47, 11, 53, 0xab54),  // trim indicator
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(173, 30, 15, 110, 0xab53),  // trim wheel
            MOUSE_CHILD_EVENT(0, 0, 15, 55, CURSOR_DOWNARROW, CLICK_REPEAT, 65607),
            MOUSE_CHILD_EVENT(0, 55, 15, 55, CURSOR_UPARROW, CLICK_REPEAT, 65615),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR throttle_quadrant_gauge =
    TARN_GAUGE_HEADER(700, "Throttle_Quadrant", quadrant_list, quadrant_mouse, throttle_quadrant_cb, 95);
