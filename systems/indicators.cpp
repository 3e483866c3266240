// Flaps, stall, speed and suction: "Flaps", "Stall_Gauge", "Speedgauge", "Suction".
// Reads 329 (flap position), 67 (stall warning), 61 (indicated airspeed), 353 (suction,
// inHg), 390 and 429 (engine 1 and 2 speed, rpm); the annunciator panels' `door_horn_active`
// and `lamp_test_active`. Sends nothing, plays nothing. Module variable: `low_suction`,
// written by the suction needle and read by the two suction lamps.
//
// Sections: "Flaps" | "Stall_Gauge" | "Speedgauge" | "Suction"
#include "systems/tarn.h"

// 1 while the last suction value that the needle read was below 1.0.
static int32_t low_suction = 0;

/* ---- "Flaps" --------------------------------------------------------------------- */

// Frame 0 up, 1 intermediate (4000 to 12000 inclusive), 2 down.
static FLOAT64 TARN_CALL Flaps_icon_cb(ELEMENT_ICON* e) {
    const FLOAT64 v = e->source_var.var_value.n;
    if (v < 4000) return 0;
    if (v <= 12000) return 1;
    return 2;
}

static FAILURE_RECORD flaps_indicator_fail[] = {{20, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};
static ELEMENT_ICON flaps_indicator = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1401, .position = {0, 0},
               .failure_systems = flaps_indicator_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},
    .source_var = {329},
    .update_cb = Flaps_icon_cb,
    .picture_count = 3,
    .switch_type = ICON_SWITCH_TYPE_STEP_TO,
};
static ELEMENT_HEADER* flaps_background_list[] = {&flaps_indicator.header, NULL};
static ELEMENT_STATIC_IMAGE flaps_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1400, .position = {0, 0},
               .next_element = flaps_background_list,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* flaps_list[] = {&flaps_background.header, NULL};
static MOUSERECT flaps_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB24),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR flaps_gauge = TARN_GAUGE_HEADER(800, "Flaps", flaps_list, flaps_mouse, NULL, 69);

/* ---- "Stall_Gauge" --------------------------------------------------------------- */

// Lit for a stall warning of exactly 1.0, or while the doors horn sounds.
static FLOAT64 TARN_CALL Stall_icon_cb(ELEMENT_ICON* e) {
    if (e->source_var.var_value.n == 1.0) return 1;
    if (door_horn_active == 1) return 1;
    return 0;
}

static ELEMENT_ICON stall_gauge_light = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1600, .position = {0, 0},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},
    .source_var = {67},
    .update_cb = Stall_icon_cb,
    .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_STEP_TO,
};
static ELEMENT_HEADER* stall_gauge_background_list[] = {&stall_gauge_light.header, NULL};
static ELEMENT_STATIC_IMAGE stall_gauge_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1500, .position = {0, 0},
               .next_element = stall_gauge_background_list,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* stall_gauge_list[] = {&stall_gauge_background.header, NULL};
static MOUSERECT stall_gauge_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR stall_gauge_gauge = TARN_GAUGE_HEADER(800, "Stall_Gauge", stall_gauge_list, stall_gauge_mouse, NULL, 38);

/* ---- "Speedgauge" ---------------------------------------------------------------- */

// The dial's scale in degrees from 3 o'clock, piece by piece: -90 at 0 kt, -85 at 20, -45
// at 40, 65 at 80, 110 at 120, 190 at 180, 252.5 from 230 up. Below 0 the first piece
// goes on without a limit. The fifth coefficient is 1.333333333 as the dial was drawn.
static FLOAT64 TARN_CALL Speedgauge_needle_cb(ELEMENT_NEEDLE* e) {
    const FLOAT64 v = e->source_var.var_value.n;
    if (v < 20) return 0.25 * v - 90;
    if (v < 40) return 2 * v - 125;
    if (v < 80) return 2.75 * v - 155;
    if (v < 120) return 1.125 * v - 25;
    if (v < 180) return 1.333333333 * v - 50;
    if (v < 230) return 1.25 * v - 35;
    return 252.5;
}

// Dial and needle: no panel power zeroes, an airspeed indicator failure freezes.
static FAILURE_RECORD speedgauge_fail[] = {{20, FAIL_ACTION_ZERO, 0}, {6, FAIL_ACTION_FREEZE, 0}, {0, 0, 0}};
static ELEMENT_NEEDLE speedgauge_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3700, .position = {66, 66}, .ofs = {31, 6},
               .failure_systems = speedgauge_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_LUMINOUS},
    .source_var = {61},
    .update_cb = Speedgauge_needle_cb,
    .max_degrees_per_second = 0,
};
static ELEMENT_HEADER* speedgauge_background_list[] = {&speedgauge_needle.header, NULL};
static ELEMENT_STATIC_IMAGE speedgauge_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x3600, .position = {0, 0},
               .next_element = speedgauge_background_list, .failure_systems = speedgauge_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS},
};
static ELEMENT_HEADER* speedgauge_list[] = {&speedgauge_background.header, NULL};
static MOUSERECT speedgauge_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB02),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR speedgauge_gauge = TARN_GAUGE_HEADER(800, "Speedgauge", speedgauge_list, speedgauge_mouse, NULL, 133);

/* ---- "Suction" ------------------------------------------------------------------- */

// 0 inHg points left, 9 inHg right, no limit either way; records low suction for the lamps.
static FLOAT64 TARN_CALL Suction_needle_cb(ELEMENT_NEEDLE* e) {
    const FLOAT64 v = e->source_var.var_value.n;
    low_suction = v < 1.0 ? 1 : 0;
    return 20 * v - 180;
}

// One lamp per engine-driven vacuum source (v: that engine's rpm): lit during the
// annunciators' lamp test, while suction is low, or below 400 rpm.
static FLOAT64 TARN_CALL Suction_lamp_cb(ELEMENT_ICON* e) {
    if (lamp_test_active == 1) return 1;
    if (low_suction == 1) return 1;
    if (e->source_var.var_value.n < 400) return 1;
    return 0;
}

static FAILURE_RECORD suction_needle_fail[] = {{20, FAIL_ACTION_ZERO, 0}, {0, 0, 0}};
static FAILURE_RECORD suction_lamp_fail[] = {{20, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};
static ELEMENT_ICON suction_lamp_engine2 = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x5201, .position = {85, 108},
               .failure_systems = suction_lamp_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},
    .source_var = {429},
    .update_cb = Suction_lamp_cb,
    .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_STEP_TO,
};
static ELEMENT_ICON suction_lamp_engine1 = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x5201, .position = {53, 108},
               .failure_systems = suction_lamp_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},
    .source_var = {390},
    .update_cb = Suction_lamp_cb,
    .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_STEP_TO,
};
static ELEMENT_NEEDLE suction_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x5200, .position = {76, 75}, .ofs = {0, 2},
               .failure_systems = suction_needle_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_LUMINOUS},
    .source_var = {353},
    .update_cb = Suction_needle_cb,
    .max_degrees_per_second = 6,
};
// The needle comes first, so the lamps read the suction of the same update.
static ELEMENT_HEADER* suction_background_list[] = {
    &suction_needle.header, &suction_lamp_engine1.header, &suction_lamp_engine2.header, NULL};
static ELEMENT_STATIC_IMAGE suction_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x5100, .position = {0, 0},
               .next_element = suction_background_list,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS},
};
static ELEMENT_HEADER* suction_list[] = {&suction_background.header, NULL};
static MOUSERECT suction_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB66),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR suction_gauge = TARN_GAUGE_HEADER(800, "Suction", suction_list, suction_mouse, NULL, 151);
