// Switch panels: "Switches", and "Switches_DI" with the two de-icing switches added.
// Reads 13 pitot heat, 619 navigation lights, 14 and 369 landing lights, 565 and 575
// generators 1 and 2, 364 battery master, 620 cabin lights, 11 strobe/beacon, 10 panel
// lights, and on "Switches_DI" 905 airframe and 904 propeller de-ice. A click on a toggle
// sends its toggle event with value 0: 65858, 66379, 65751, 66240, 66363, 66241, 66364,
// 66376, 65560, 65750, 66337, 66338. Passenger notices, external supply and the ammeter
// selector belong to the module alone and send nothing.
//
// Every switch records the position it last showed; the click sounds when that changes.
// Both panels work on one set of module variables: left_generator_on, right_generator_on,
// battery_master_on and passenger_notices_on are shared with other gauges (systems/tarn.h).
#include "systems/tarn.h"

// Module variables of the switch panels: 0 at load, never reset.
static int32_t pitot_heat_on = 0;
static int32_t nav_lights_on = 0;
static int32_t landing_light_left_on = 0;
static int32_t landing_light_right_on = 0;
static int32_t cabin_lights_on = 0;
static int32_t beacon_on = 0;
static int32_t external_supply_on = 0;
static int32_t cockpit_lights_on = 0;
static int32_t ammeter_selector = 0;  // 0 battery (centre), 1 left generator, 2 right generator
static int32_t airframe_deice_on = 0;
static int32_t prop_deice_on = 0;

/* ---- callbacks --------------------------------------------------------------------- */

static void play_click() { sndPlaySoundA("sound\\click.wav", SND_ASYNC); }

// The battery master switch: as switch_icon_cb, and on a change the gyros run up or down.
static FLOAT64 TARN_CALL battery_icon_cb(ELEMENT_ICON* icon) {
    const FLOAT64 v = icon->source_var.var_value.n;
    if (FLOAT64(battery_master_on) != v) {
        play_click();
        PlaySoundA(battery_master_on != 0 ? "sound\\tarngyroff.wav" : "sound\\tarngyroon.wav", NULL, SND_ASYNC);
    }
    battery_master_on = v != 0.0 ? 1 : 0;
    return v;
}

// A switch that only the module keeps. The element has no token, so its value is what this
// callback showed last: the click sounds once per change of the state.
template <int32_t* state>
static FLOAT64 TARN_CALL state_icon_cb(ELEMENT_ICON* icon) {
    if (FLOAT64(*state) != icon->source_var.var_value.n) play_click();
    return *state;
}

template <int32_t* state>
static BOOL TARN_CALL toggle_mouse_cb(PPIXPOINT, FLAGS32) {
    *state = 1 - *state;
    return TRUE;
}

// The ammeter selector knob: the left half turns it anticlockwise (battery -> left
// generator, right generator -> battery), the right half clockwise; each end stops it.
static BOOL TARN_CALL selector_left_cb(PPIXPOINT, FLAGS32) {
    if (ammeter_selector == 0) ammeter_selector = 1;
    else if (ammeter_selector == 2) ammeter_selector = 0;
    return TRUE;
}

static BOOL TARN_CALL selector_right_cb(PPIXPOINT, FLAGS32) {
    if (ammeter_selector == 0) ammeter_selector = 2;
    else if (ammeter_selector == 1) ammeter_selector = 0;
    return TRUE;
}

/* ---- records shared by both panels ----------------------------------------------------- */

#define SWITCHES_BACKGROUND_FLAGS (IMAGE_USE_TRANSPARENCY | IMAGE_NO_STATIC_BLENDING)

// A toggle: frame 0 down (off) from 12800, frame 1 up (on) from 12801.
#define SWITCHES_TOGGLE(x, y, token, callback)                                                    \
    {                                                                                              \
        .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 12800, .position = {x, y},      \
                   .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},                         \
        .source_var = {token}, .update_cb = callback, .picture_count = 2,                            \
        .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,                                                \
    }

// The ammeter selector: 13056 pointer up (battery), 13057 upper left (left generator),
// 13058 right generator.
#define SWITCHES_SELECTOR                                                                         \
    {                                                                                              \
        .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 13056, .position = {481, 262},  \
                   .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},                         \
        .source_var = {0}, .update_cb = state_icon_cb<&ammeter_selector>, .picture_count = 3,        \
        .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,                                                \
    }

// A toggle's mouse region: 19 x 52 at the toggle's position.
#define SWITCHES_TOGGLE_MOUSE(x, y, callback) MOUSE_CHILD_FUNCT(x, y, 19, 52, CURSOR_HAND, MOUSE_LEFTSINGLE, callback)
#define SWITCHES_SELECTOR_MOUSE                                                                   \
    MOUSE_CHILD_FUNCT(481, 262, 60, 116, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, selector_left_cb),      \
    MOUSE_CHILD_FUNCT(541, 262, 61, 116, CURSOR_UPARROW, MOUSE_LEFTSINGLE, selector_right_cb)

/* ---- "Switches" ------------------------------------------------------------------------ */

namespace {

extern ELEMENT_ICON sw_pitot_heat, sw_nav_lights, sw_landing_left, sw_landing_right, sw_left_generator,
    sw_battery_master, sw_right_generator, sw_cabin_lights, sw_passenger_notices, sw_beacon, sw_external_supply,
    sw_cockpit_lights, sw_ammeter_selector;

ELEMENT_HEADER* switches_background_next[] = {
    &sw_pitot_heat.header, &sw_nav_lights.header, &sw_landing_left.header, &sw_landing_right.header,
    &sw_left_generator.header, &sw_battery_master.header, &sw_right_generator.header, &sw_cabin_lights.header,
    &sw_passenger_notices.header, &sw_beacon.header, &sw_external_supply.header, &sw_cockpit_lights.header,
    &sw_ammeter_selector.header, NULL};
ELEMENT_STATIC_IMAGE switches_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 12544, .position = {0, 0},
               .next_element = switches_background_next, .image_flags = SWITCHES_BACKGROUND_FLAGS},
};

ELEMENT_ICON sw_pitot_heat = SWITCHES_TOGGLE(75, 56, 13, switch_icon_cb<&pitot_heat_on>);
ELEMENT_ICON sw_nav_lights = SWITCHES_TOGGLE(203, 56, 619, switch_icon_cb<&nav_lights_on>);
ELEMENT_ICON sw_landing_left = SWITCHES_TOGGLE(272, 56, 14, switch_icon_cb<&landing_light_left_on>);
ELEMENT_ICON sw_landing_right = SWITCHES_TOGGLE(341, 56, 369, switch_icon_cb<&landing_light_right_on>);
ELEMENT_ICON sw_left_generator = SWITCHES_TOGGLE(455, 56, 565, switch_icon_cb<&left_generator_on>);
ELEMENT_ICON sw_battery_master = SWITCHES_TOGGLE(522, 56, 364, battery_icon_cb);
ELEMENT_ICON sw_right_generator = SWITCHES_TOGGLE(588, 56, 575, switch_icon_cb<&right_generator_on>);
ELEMENT_ICON sw_cabin_lights = SWITCHES_TOGGLE(203, 168, 620, switch_icon_cb<&cabin_lights_on>);
ELEMENT_ICON sw_passenger_notices = SWITCHES_TOGGLE(272, 168, 0, state_icon_cb<&passenger_notices_on>);
ELEMENT_ICON sw_beacon = SWITCHES_TOGGLE(341, 168, 11, switch_icon_cb<&beacon_on>);
ELEMENT_ICON sw_external_supply = SWITCHES_TOGGLE(577, 168, 0, state_icon_cb<&external_supply_on>);
ELEMENT_ICON sw_cockpit_lights = SWITCHES_TOGGLE(156, 281, 10, switch_icon_cb<&cockpit_lights_on>);
ELEMENT_ICON sw_ammeter_selector = SWITCHES_SELECTOR;

ELEMENT_HEADER* switches_list[] = {&switches_background.header, NULL};

MOUSERECT switches_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        SWITCHES_TOGGLE_MOUSE(75, 56, key_mouse_cb<65858>),
        SWITCHES_TOGGLE_MOUSE(203, 56, key_mouse_cb<66379>),
        SWITCHES_TOGGLE_MOUSE(272, 56, key_mouse_cb<65751>),
        SWITCHES_TOGGLE_MOUSE(341, 56, key_mouse_cb<66240>),
        SWITCHES_TOGGLE_MOUSE(455, 56, key_mouse_cb<66363>),
        SWITCHES_TOGGLE_MOUSE(522, 56, key_mouse_cb<66241>),
        SWITCHES_TOGGLE_MOUSE(588, 56, key_mouse_cb<66364>),
        SWITCHES_TOGGLE_MOUSE(203, 168, key_mouse_cb<66376>),
        SWITCHES_TOGGLE_MOUSE(272, 168, toggle_mouse_cb<&passenger_notices_on>),
        SWITCHES_TOGGLE_MOUSE(341, 168, key_mouse_cb<65560>),
        SWITCHES_TOGGLE_MOUSE(577, 168, toggle_mouse_cb<&external_supply_on>),
        SWITCHES_TOGGLE_MOUSE(156, 281, key_mouse_cb<65750>),
        SWITCHES_SELECTOR_MOUSE,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR switches_gauge = TARN_GAUGE_HEADER(800, "Switches", switches_list, switches_mouse, NULL, 679);

/* ---- "Switches_DI" --------------------------------------------------------------------- */

namespace {

extern ELEMENT_ICON di_pitot_heat, di_nav_lights, di_landing_left, di_landing_right, di_left_generator,
    di_battery_master, di_right_generator, di_cabin_lights, di_passenger_notices, di_beacon, di_external_supply,
    di_cockpit_lights, di_ammeter_selector, di_airframe_deice, di_prop_deice;

ELEMENT_HEADER* switches_di_background_next[] = {
    &di_pitot_heat.header, &di_nav_lights.header, &di_landing_left.header, &di_landing_right.header,
    &di_left_generator.header, &di_battery_master.header, &di_right_generator.header, &di_cabin_lights.header,
    &di_passenger_notices.header, &di_beacon.header, &di_external_supply.header, &di_cockpit_lights.header,
    &di_ammeter_selector.header, &di_airframe_deice.header, &di_prop_deice.header, NULL};
ELEMENT_STATIC_IMAGE switches_di_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 12545, .position = {0, 0},
               .next_element = switches_di_background_next, .image_flags = SWITCHES_BACKGROUND_FLAGS},
};

ELEMENT_ICON di_pitot_heat = SWITCHES_TOGGLE(75, 56, 13, switch_icon_cb<&pitot_heat_on>);
ELEMENT_ICON di_nav_lights = SWITCHES_TOGGLE(203, 56, 619, switch_icon_cb<&nav_lights_on>);
ELEMENT_ICON di_landing_left = SWITCHES_TOGGLE(272, 56, 14, switch_icon_cb<&landing_light_left_on>);
ELEMENT_ICON di_landing_right = SWITCHES_TOGGLE(341, 56, 369, switch_icon_cb<&landing_light_right_on>);
ELEMENT_ICON di_left_generator = SWITCHES_TOGGLE(455, 56, 565, switch_icon_cb<&left_generator_on>);
ELEMENT_ICON di_battery_master = SWITCHES_TOGGLE(522, 56, 364, battery_icon_cb);
ELEMENT_ICON di_right_generator = SWITCHES_TOGGLE(588, 56, 575, switch_icon_cb<&right_generator_on>);
ELEMENT_ICON di_cabin_lights = SWITCHES_TOGGLE(203, 168, 620, switch_icon_cb<&cabin_lights_on>);
ELEMENT_ICON di_passenger_notices = SWITCHES_TOGGLE(272, 168, 0, state_icon_cb<&passenger_notices_on>);
ELEMENT_ICON di_beacon = SWITCHES_TOGGLE(341, 168, 11, switch_icon_cb<&beacon_on>);
ELEMENT_ICON di_external_supply = SWITCHES_TOGGLE(577, 168, 0, state_icon_cb<&external_supply_on>);
ELEMENT_ICON di_cockpit_lights = SWITCHES_TOGGLE(156, 281, 10, switch_icon_cb<&cockpit_lights_on>);
ELEMENT_ICON di_ammeter_selector = SWITCHES_SELECTOR;
ELEMENT_ICON di_airframe_deice = SWITCHES_TOGGLE(75, 168, 905, switch_icon_cb<&airframe_deice_on>);
ELEMENT_ICON di_prop_deice = SWITCHES_TOGGLE(75, 281, 904, switch_icon_cb<&prop_deice_on>);

ELEMENT_HEADER* switches_di_list[] = {&switches_di_background.header, NULL};

MOUSERECT switches_di_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        SWITCHES_TOGGLE_MOUSE(75, 56, key_mouse_cb<65858>),
        SWITCHES_TOGGLE_MOUSE(203, 56, key_mouse_cb<66379>),
        SWITCHES_TOGGLE_MOUSE(272, 56, key_mouse_cb<65751>),
        SWITCHES_TOGGLE_MOUSE(341, 56, key_mouse_cb<66240>),
        SWITCHES_TOGGLE_MOUSE(455, 56, key_mouse_cb<66363>),
        SWITCHES_TOGGLE_MOUSE(522, 56, key_mouse_cb<66241>),
        SWITCHES_TOGGLE_MOUSE(588, 56, key_mouse_cb<66364>),
        SWITCHES_TOGGLE_MOUSE(203, 168, key_mouse_cb<66376>),
        SWITCHES_TOGGLE_MOUSE(272, 168, toggle_mouse_cb<&passenger_notices_on>),
        SWITCHES_TOGGLE_MOUSE(341, 168, key_mouse_cb<65560>),
        SWITCHES_TOGGLE_MOUSE(577, 168, toggle_mouse_cb<&external_supply_on>),
        SWITCHES_TOGGLE_MOUSE(156, 281, key_mouse_cb<65750>),
        SWITCHES_TOGGLE_MOUSE(75, 168, key_mouse_cb<66337>),
        SWITCHES_TOGGLE_MOUSE(75, 281, key_mouse_cb<66338>),
        SWITCHES_SELECTOR_MOUSE,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR switches_di_gauge = TARN_GAUGE_HEADER(800, "Switches_DI", switches_di_list, switches_di_mouse, NULL, 679);
