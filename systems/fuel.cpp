// Fuel quantity and fuel pumps: "Fuel_Left", "Fuel_Right", "pump_1", "pump_2".
// Reads 304 (left tank) and 303 (right tank) fuel quantity, 891 and 892 (fuel pump 1 and 2
// on). Sends 0x10324 (toggle fuel pump 1) and 0x10325 (toggle fuel pump 2). Plays
// "sound\click.wav" when a pump changes. Module variables: `fuel_pump_1_on`, `fuel_pump_2_on`.
//
// Sections: callbacks | "Fuel_Left" | "Fuel_Right" | "pump_1" | "pump_2"
#include "systems/tarn.h"

// The pump position each pump gauge showed last (0/1); read by nothing else.
static int32_t fuel_pump_1_on = 0;
static int32_t fuel_pump_2_on = 0;

/* ---- callbacks ------------------------------------------------------------------- */

// The dial covers 0 to 65: empty points left (180 degrees), 65 or more 15 degrees past
// 3 o'clock (375), after a clockwise sweep over the top.
static FLOAT64 TARN_CALL Fuel_needle_cb(ELEMENT_NEEDLE* e) {
    FLOAT64 x = e->source_var.var_value.n;
    if (x > 65) x = 65;
    else if (x < 0) x = 0;
    return 3 * x + 180;
}

// The pumps use the switch families of tarn.h, one function per pump:
// switch_icon_cb<&fuel_pump_N_on> follows the pump variable and clicks when it changes;
// key_mouse_cb<event> only asks the simulator to toggle the pump.

// The root and the needle of both fuel gauges: no panel power zeroes, a fuel indicator
// failure freezes.
static FAILURE_RECORD fuel_fail[] = {
    {20, FAIL_ACTION_ZERO, 0},
    {10, FAIL_ACTION_FREEZE, 0},
    {0, 0, 0},
};

/* ---- "Fuel_Left" ----------------------------------------------------------------- */

static ELEMENT_STATIC_IMAGE fuel_left_glass = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1801, .position = {0, 0},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
};
static ELEMENT_HEADER* fuel_left_needle_list[] = {&fuel_left_glass.header, NULL};
static ELEMENT_NEEDLE fuel_left_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x1800, .position = {76, 76}, .ofs = {0, 4},
               .next_element = fuel_left_needle_list, .failure_systems = fuel_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_LUMINOUS},
    .source_var = {304},
    .update_cb = Fuel_needle_cb,
    .max_degrees_per_second = 6,
};
static ELEMENT_HEADER* fuel_left_background_list[] = {&fuel_left_needle.header, NULL};
static ELEMENT_STATIC_IMAGE fuel_left_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1700, .position = {0, 0},
               .next_element = fuel_left_background_list, .failure_systems = fuel_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS},
};
static ELEMENT_HEADER* fuel_left_list[] = {&fuel_left_background.header, NULL};
static MOUSERECT fuel_left_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB29),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR fuel_left_gauge = TARN_GAUGE_HEADER(800, "Fuel_Left", fuel_left_list, fuel_left_mouse, NULL, 152);

/* ---- "Fuel_Right" ---------------------------------------------------------------- */

static ELEMENT_STATIC_IMAGE fuel_right_glass = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1801, .position = {0, 0},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
};
static ELEMENT_HEADER* fuel_right_needle_list[] = {&fuel_right_glass.header, NULL};
static ELEMENT_NEEDLE fuel_right_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x1800, .position = {76, 76}, .ofs = {0, 4},
               .next_element = fuel_right_needle_list, .failure_systems = fuel_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_LUMINOUS},
    .source_var = {303},
    .update_cb = Fuel_needle_cb,
    .max_degrees_per_second = 6,
};
static ELEMENT_HEADER* fuel_right_background_list[] = {&fuel_right_needle.header, NULL};
static ELEMENT_STATIC_IMAGE fuel_right_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1700, .position = {0, 0},
               .next_element = fuel_right_background_list, .failure_systems = fuel_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS},
};
static ELEMENT_HEADER* fuel_right_list[] = {&fuel_right_background.header, NULL};
static MOUSERECT fuel_right_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB2A),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR fuel_right_gauge = TARN_GAUGE_HEADER(800, "Fuel_Right", fuel_right_list, fuel_right_mouse, NULL, 152);

/* ---- "pump_1" -------------------------------------------------------------------- */

static ELEMENT_ICON pump_1_switch = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x3200, .position = {20, 30},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_var = {891},
    .update_cb = switch_icon_cb<&fuel_pump_1_on>,
    .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
static ELEMENT_HEADER* pump_1_background_list[] = {&pump_1_switch.header, NULL};
static ELEMENT_STATIC_IMAGE pump_1_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x5500, .position = {0, 0},
               .next_element = pump_1_background_list, .image_flags = IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* pump_1_list[] = {&pump_1_background.header, NULL};
static MOUSERECT pump_1_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_FUNCT(0, 0, 58, 99, CURSOR_HAND, MOUSE_LEFTSINGLE, key_mouse_cb<0x10324>),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR pump_1_gauge = TARN_GAUGE_HEADER(800, "pump_1", pump_1_list, pump_1_mouse, NULL, 58);

/* ---- "pump_2" -------------------------------------------------------------------- */

static ELEMENT_ICON pump_2_switch = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x3200, .position = {20, 30},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_var = {892},
    .update_cb = switch_icon_cb<&fuel_pump_2_on>,
    .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
static ELEMENT_HEADER* pump_2_background_list[] = {&pump_2_switch.header, NULL};
static ELEMENT_STATIC_IMAGE pump_2_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x5500, .position = {0, 0},
               .next_element = pump_2_background_list, .image_flags = IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* pump_2_list[] = {&pump_2_background.header, NULL};
static MOUSERECT pump_2_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_FUNCT(0, 0, 58, 99, CURSOR_HAND, MOUSE_LEFTSINGLE, key_mouse_cb<0x10325>),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR pump_2_gauge = TARN_GAUGE_HEADER(800, "pump_2", pump_2_list, pump_2_mouse, NULL, 58);
