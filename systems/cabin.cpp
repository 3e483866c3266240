// Marker lamps, passenger notices, compass slave and auto-rudder: "OMI", "PN", "Slave",
// "AutoCord".
// Reads 354 (marker beacon received: 0 none, 1 outer, 2 middle, 3 inner), 364 (battery
// master switch) and the switch panels' `passenger_notices_on`.
// Sends 66046 (align the heading gyro with the compass, every 4 s in SLAVE mode), 65877 /
// 65878 (nudge the heading gyro clockwise / anticlockwise), 65953 / 65952 (auto-rudder on /
// off). Plays "sound\click.wav" on every press.
// Module variables: `marker_test_active`, `marker_test_start`, `slave_mode`,
// `slave_last_sync`, `gyro_adjust_knob`, `gyro_adjust_time`, `autorudder_state`.
// Times are timeGetTime milliseconds; elapsed times are unsigned 32-bit differences, so
// they stay right across the wrap of the clock.
//
// Sections: state | "OMI" | "PN" | "Slave" | "AutoCord"
#include "systems/tarn.h"

/* ---- state ----------------------------------------------------------------------- */

static int32_t marker_test_active = 0;  // 1 while the marker lamp test runs
static DWORD marker_test_start = 0;     // time of the last test press
static int32_t slave_mode = 0;          // 0 FREE, 1 SLAVE
static DWORD slave_last_sync = 0;       // time of the last alignment event
static int32_t gyro_adjust_knob = 0;    // 0 centre, 1 clockwise, 2 anticlockwise
static DWORD gyro_adjust_time = 0;      // time of the last adjust click
static int32_t autorudder_state = 0;    // 0 not yet commanded, 1 off, 2 on

static void click(void) { sndPlaySoundA("sound\\click.wav", SND_ASYNC); }

/* ---- "OMI" ----------------------------------------------------------------------- */

// The marker received, or all three lamps for 2000 ms after a test press; the test is
// ended by the first lamp update after that.
static FLOAT64 TARN_CALL marker_lamp_cb(ELEMENT_ICON* e) {
    if (DWORD(timeGetTime() - marker_test_start) > 2000) marker_test_active = 0;
    if (marker_test_active == 1) return 4.0;
    return e->source_var.var_value.n;
}

static BOOL TARN_CALL marker_test_mouse_cb(PPIXPOINT, FLAGS32) {
    click();
    marker_test_start = timeGetTime();
    marker_test_active = 1;
    return TRUE;
}

static ELEMENT_ICON omi_lamps = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 17152, .position = {0, 0},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},
    .source_var = {354},
    .update_cb = marker_lamp_cb,
    .picture_count = 5,
    .switch_type = ICON_SWITCH_TYPE_STEP_TO,
};
static ELEMENT_HEADER* omi_background_list[] = {&omi_lamps.header, NULL};
static ELEMENT_STATIC_IMAGE omi_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 16896, .position = {0, 0},
               .next_element = omi_background_list,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* omi_list[] = {&omi_background.header, NULL};
static MOUSERECT omi_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43848),
        MOUSE_CHILD_FUNCT(5, 75, 11, 3, CURSOR_HAND, MOUSE_LEFTSINGLE, marker_test_mouse_cb),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR omi_gauge = TARN_GAUGE_HEADER(800, "OMI", omi_list, omi_mouse, NULL, 19);

/* ---- "PN" ------------------------------------------------------------------------ */

// Lit (frame 1) only with both the passenger notices switch and the battery master on.
static FLOAT64 TARN_CALL notices_icon_cb(ELEMENT_ICON* e) {
    return passenger_notices_on * e->source_var.var_value.n;
}

static ELEMENT_ICON pn_sign = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 17664, .position = {0, 0},
               .image_flags = IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},
    .source_var = {364},
    .update_cb = notices_icon_cb,
    .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_STEP_TO,
};
static ELEMENT_HEADER* pn_background_list[] = {&pn_sign.header, NULL};
static ELEMENT_STATIC_IMAGE pn_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 17408, .position = {0, 0},
               .next_element = pn_background_list, .image_flags = IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* pn_list[] = {&pn_background.header, NULL};
static MOUSERECT pn_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43848),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR pn_gauge = TARN_GAUGE_HEADER(800, "PN", pn_list, pn_mouse, NULL, 412);

/* ---- "Slave" --------------------------------------------------------------------- */

// In SLAVE mode the heading gyro is aligned with the compass at most once per 4000 ms,
// and only while the gauge is updated; after a longer pause the event goes out at once.
static FLOAT64 TARN_CALL slave_knob_cb(ELEMENT_ICON*) {
    const DWORD now = timeGetTime();
    if (DWORD(now - slave_last_sync) > 4000 && slave_mode == 1) {
        trigger_key_event(66046, 0);
        slave_last_sync = now;
    }
    return slave_mode;
}

// The spring-loaded knob returns to the centre 500 ms after the last adjust click.
static FLOAT64 TARN_CALL adjust_knob_cb(ELEMENT_ICON*) {
    if (DWORD(timeGetTime() - gyro_adjust_time) > 500) gyro_adjust_knob = 0;
    return gyro_adjust_knob;
}

static BOOL TARN_CALL slave_mouse_cb(PPIXPOINT, FLAGS32) {
    click();
    slave_mode = 1 - slave_mode;
    return TRUE;
}

static BOOL TARN_CALL adjust_cw_mouse_cb(PPIXPOINT, FLAGS32) {
    click();
    trigger_key_event(65877, 0);
    gyro_adjust_knob = 1;
    gyro_adjust_time = timeGetTime();
    return TRUE;
}

static BOOL TARN_CALL adjust_ccw_mouse_cb(PPIXPOINT, FLAGS32) {
    click();
    trigger_key_event(65878, 0);
    gyro_adjust_knob = 2;
    gyro_adjust_time = timeGetTime();
    return TRUE;
}

static ELEMENT_ICON slave_adjust_knob = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 18432, .position = {0, 60},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_var = {0},
    .update_cb = adjust_knob_cb,
    .picture_count = 3,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
static ELEMENT_ICON slave_mode_knob = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 18176, .position = {0, 0},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},
    .source_var = {0},
    .update_cb = slave_knob_cb,
    .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
static ELEMENT_HEADER* slave_background_list[] = {&slave_mode_knob.header, &slave_adjust_knob.header, NULL};
static ELEMENT_STATIC_IMAGE slave_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 17920, .position = {0, 0},
               .next_element = slave_background_list,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* slave_list[] = {&slave_background.header, NULL};
static MOUSERECT slave_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_FUNCT(3, 21, 63, 32, CURSOR_HAND, MOUSE_LEFTSINGLE, slave_mouse_cb),       // upper knob
        MOUSE_CHILD_FUNCT(45, 56, 21, 25, CURSOR_HAND, MOUSE_LEFTSINGLE, adjust_cw_mouse_cb),   // lower, CW
        MOUSE_CHILD_FUNCT(4, 56, 19, 24, CURSOR_HAND, MOUSE_LEFTSINGLE, adjust_ccw_mouse_cb),   // lower, CCW
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR slave_gauge = TARN_GAUGE_HEADER(800, "Slave", slave_list, slave_mouse, NULL, 70);

/* ---- "AutoCord" ------------------------------------------------------------------ */

// Until the first press the window blinks ??? (1 s blank, 1 s shown, in phase with the
// clock); then it shows what this gauge last commanded: 2 OFF, 3 ON.
static FLOAT64 TARN_CALL autorudder_icon_cb(ELEMENT_ICON*) {
    if (autorudder_state == 0 && timeGetTime() % 2000 < 1000) return 0;
    if (autorudder_state == 0) return 1;
    return autorudder_state + 1;
}

// The first press always commands ON; then each press commands the other state.
static BOOL TARN_CALL autorudder_mouse_cb(PPIXPOINT, FLAGS32) {
    click();
    if (autorudder_state == 2) {
        trigger_key_event(65952, 0);
        autorudder_state = 1;
    } else {
        trigger_key_event(65953, 0);
        autorudder_state = 2;
    }
    return FALSE;
}

static FAILURE_RECORD autocord_window_fail[] = {{20, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};
static ELEMENT_ICON autocord_window = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 20480, .position = {0, 0},
               .failure_systems = autocord_window_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},
    .source_var = {0},
    .update_cb = autorudder_icon_cb,
    .picture_count = 4,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
static ELEMENT_HEADER* autocord_background_list[] = {&autocord_window.header, NULL};
static ELEMENT_STATIC_IMAGE autocord_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 18688, .position = {0, 0},
               .next_element = autocord_background_list,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* autocord_list[] = {&autocord_background.header, NULL};
static MOUSERECT autocord_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_FUNCT(47, 14, 56, 56, CURSOR_HAND, MOUSE_LEFTSINGLE, autorudder_mouse_cb),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR autocord_gauge = TARN_GAUGE_HEADER(800, "AutoCord", autocord_list, autocord_mouse, NULL, 150);
