// Avionics master and volt/ammeter: "Avionic Master", "VoltAmp".
// "Avionic Master" reads 740 (avionics master switch) on both toggles, records it in the
// shared avionics_master_on and sends 66293 (toggle avionics master) on a click; it clicks
// "sound\click.wav" when the switch changes.
// "VoltAmp" reads 753 (main bus voltage, volts) for the voltmeter; the ammeter is computed
// from the shared battery_master_on, avionics_master_on, left_gen_offline and
// right_gen_offline (systems/tarn.h). It sends nothing.
//
// The dial faces put 0 A at the top and 25 V at the bottom: the needle bitmap points right,
// so -90 degrees is straight up and 90 straight down.
#include "systems/tarn.h"

/* ---- "Avionic Master" ---------------------------------------------------------------- */

static FLOAT64 TARN_CALL avionics_icon_cb(ELEMENT_ICON* icon) {
    const FLOAT64 v = icon->source_var.var_value.n;
    if (FLOAT64(avionics_master_on) != v) sndPlaySoundA("sound\\click.wav", SND_ASYNC);
    avionics_master_on = v != 0.0 ? 1 : 0;
    return v;
}

static BOOL TARN_CALL avionics_mouse_cb(PPIXPOINT, FLAGS32) {
    trigger_key_event(66293, 0);
    return TRUE;
}

namespace {

extern ELEMENT_ICON avionics_toggle_left, avionics_toggle_right;

ELEMENT_HEADER* avionic_master_background_next[] = {&avionics_toggle_left.header, &avionics_toggle_right.header, NULL};
ELEMENT_STATIC_IMAGE avionic_master_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 13312, .position = {0, 0},
               .next_element = avionic_master_background_next, .image_flags = IMAGE_NO_STATIC_BLENDING},
};

// Two toggles under one caption, both showing 740; only the first records and clicks.
ELEMENT_ICON avionics_toggle_left = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 13568, .position = {56, 33},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_var = {740}, .update_cb = avionics_icon_cb, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
ELEMENT_ICON avionics_toggle_right = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 13568, .position = {128, 33},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_var = {740}, .update_cb = NULL, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};

ELEMENT_HEADER* avionic_master_list[] = {&avionic_master_background.header, NULL};

// One region covers both toggles.
MOUSERECT avionic_master_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_FUNCT(34, 15, 128, 84, CURSOR_HAND, MOUSE_LEFTSINGLE, avionics_mouse_cb),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR avionic_master_gauge =
    TARN_GAUGE_HEADER(800, "Avionic Master", avionic_master_list, avionic_master_mouse, NULL, 201);

/* ---- "VoltAmp" ----------------------------------------------------------------------- */

// Each generator on line gives +30 A; the battery switch draws 30 A, the avionics another
// 20 A only while the battery is on: -50 A to +60 A.
static FLOAT64 TARN_CALL ammeter_needle_cb(ELEMENT_NEEDLE*) {
    const int32_t amperes = 30 * (1 - left_gen_offline) + 30 * (1 - right_gen_offline) - 30 * battery_master_on -
                            20 * avionics_master_on * battery_master_on;
    return 0.7 * amperes - 90.0;
}

// 13 V gives 174 degrees, 25 V 90, 37 V 6; beyond them the needle stays at its end.
static FLOAT64 TARN_CALL voltmeter_needle_cb(ELEMENT_NEEDLE* needle) {
    FLOAT64 volts = needle->source_var.var_value.n;
    if (volts > 37.0) volts = 37.0;
    else if (volts < 13.0) volts = 13.0;
    return 265.0 - 7.0 * volts;
}

#define VOLTAMP_NEEDLE_FLAGS (IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_LUMINOUS)

namespace {

extern ELEMENT_NEEDLE voltamp_ammeter, voltamp_voltmeter;
extern ELEMENT_STATIC_IMAGE voltamp_cover;

FAILURE_RECORD voltamp_fail[] = {{FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_ZERO, 0}, {0, 0, 0}};

ELEMENT_HEADER* voltamp_background_next[] = {&voltamp_ammeter.header, NULL};
ELEMENT_STATIC_IMAGE voltamp_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 6400, .position = {0, 0},
               .next_element = voltamp_background_next, .failure_systems = voltamp_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS},
};

ELEMENT_HEADER* voltamp_ammeter_next[] = {&voltamp_voltmeter.header, NULL};
ELEMENT_NEEDLE voltamp_ammeter = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 8192, .position = {75, 59}, .ofs = {0, 3},
               .next_element = voltamp_ammeter_next, .failure_systems = voltamp_fail, .image_flags = VOLTAMP_NEEDLE_FLAGS},
    .source_var = {0}, .update_cb = ammeter_needle_cb, .max_degrees_per_second = 6,
};

ELEMENT_HEADER* voltamp_voltmeter_next[] = {&voltamp_cover.header, NULL};
ELEMENT_NEEDLE voltamp_voltmeter = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 8192, .position = {75, 92}, .ofs = {0, 3},
               .next_element = voltamp_voltmeter_next, .failure_systems = voltamp_fail, .image_flags = VOLTAMP_NEEDLE_FLAGS},
    .source_var = {753}, .update_cb = voltmeter_needle_cb, .max_degrees_per_second = 6,
};

ELEMENT_STATIC_IMAGE voltamp_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 8193, .position = {0, 0},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
};

ELEMENT_HEADER* voltamp_list[] = {&voltamp_background.header, NULL};

MOUSERECT voltamp_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR voltamp_gauge = TARN_GAUGE_HEADER(800, "VoltAmp", voltamp_list, voltamp_mouse, NULL, 152);
