// Gyro instruments and compass: "Attitude", "Turn Coordinator", "Magnetic_Compass", "HSI".
// Reads 78 (attitude pitch, degrees), 80 (attitude bank), 612 (aircraft symbol position),
// 69 (inclinometer ball), 70 (turn rate, raw), 753 (main bus volts), 83 (magnetic compass
// heading), 84 (gyro heading), 45 (receiver 1 course), 848 (GPS drives the navigation
// display), 849 to 854 (lateral deviation, glideslope deviation, lateral guidance valid,
// glideslope valid, TO/FROM, course of the displayed source), 855 (heading index), 279
// (common failure flag), 282 (heading failure flag), 285 (receiver failure flag), 755
// (avionics bus volts).
// Sends (through the host's mouse handling) 66319, 66318 (aircraft symbol down, up),
// 65880, 65879 (heading index down, up), 65662, 65663 (course down, up).
//
// Sections: flag sets | host variables | "Attitude" | "Turn Coordinator" |
//           "Magnetic_Compass" | "HSI"
#include "instruments/tarn2.h"

namespace {

/* ---- flag sets ------------------------------------------------------------------- */

static_assert(DIAL == 0x4003 && LIT_SMOOTH == 0x4083 && SMOOTH == 0x83 && OVERLAY == 0x3);

static_assert(CLICK_REPEAT == 0x20200000);

// Icon frames of the flags.
constexpr FLOAT64 FLAG_SHOWN = 1.0;
constexpr FLOAT64 FLAG_HIDDEN = -1.0;

/* ---- host variables -------------------------------------------------------------- */

// A variable that the element itself does not carry, read through the host.
VAR_VALUE read_var(UINT32 token) {
    MODULE_VAR v = {token};
    lookup_var(&v);
    return v.var_value;
}

/* ---- "Attitude" ------------------------------------------------------------------ */
// Horizon card and bank scale turn against the bank; the card moves with pitch up to 39
// degrees either way. The aircraft symbol is set with two repeat buttons.

extern ELEMENT_SPRITE attitude_bank_scale;
extern ELEMENT_SPRITE attitude_horizon;
extern ELEMENT_SLIDER attitude_symbol;
extern ELEMENT_STATIC_IMAGE attitude_bezel;

// Attitude indicator, engine and vacuum failures are listed and change nothing.
FAILURE_RECORD attitude_fail[] = {
    {FAIL_GAUGE_ATTITUDE, FAIL_ACTION_NONE, 0},
    {FAIL_SYSTEM_ENGINE, FAIL_ACTION_NONE, 0},
    {FAIL_SYSTEM_VACUUM, FAIL_ACTION_NONE, 0},
    {0, 0, 0},
};

// Pitch (token 78) held to -39 ... 39 degrees.
FLOAT64 TARN_CALL Attitude_pitch_cb(ELEMENT_SPRITE* element) {
    const FLOAT64 pitch = element->source_var_y.var_value.n;
    if (pitch > 39.0) return 39.0;
    if (pitch < -39.0) return -39.0;
    return pitch;
}

ELEMENT_HEADER* attitude_case_next[] = {&attitude_bank_scale.header, NULL};
ELEMENT_STATIC_IMAGE attitude_case = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1300, .position = {0, 0},
               .next_element = attitude_case_next, .image_flags = DIAL},
};
ELEMENT_HEADER* attitude_bank_scale_next[] = {&attitude_horizon.header, NULL};
ELEMENT_SPRITE attitude_bank_scale = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 1320, .position = {0, 0}, .ofs = {79, 77},
               .next_element = attitude_bank_scale_next, .failure_systems = attitude_fail, .image_flags = LIT_SMOOTH},
    .source_var_x = {0}, .scale_x = 0, .update_x_cb = NULL,
    .source_var_y = {0}, .scale_y = 0, .update_y_cb = NULL,
    .source_var_0 = {80}, .scale_0 = -1, .update_0_cb = NULL,
    .texture_scale_x = 1, .texture_scale_y = 1,
};
ELEMENT_HEADER* attitude_horizon_next[] = {&attitude_symbol.header, NULL};
ELEMENT_SPRITE attitude_horizon = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 1310, .position = {0, 0}, .ofs = {79, 79},
               .next_element = attitude_horizon_next, .failure_systems = attitude_fail, .image_flags = LIT_SMOOTH},
    .source_var_x = {0}, .scale_x = 0, .update_x_cb = NULL,
    .source_var_y = {78}, .scale_y = 1.25, .update_y_cb = Attitude_pitch_cb,
    .source_var_0 = {80}, .scale_0 = -1, .update_0_cb = NULL,
    .texture_scale_x = 1, .texture_scale_y = 0.9f,
};
ELEMENT_HEADER* attitude_symbol_next[] = {&attitude_bezel.header, NULL};
ELEMENT_SLIDER attitude_symbol = {
    .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = 1330, .position = {44, 78},
               .next_element = attitude_symbol_next, .image_flags = OVERLAY},
    .source_var_x = {0}, .scale_x = 0, .update_x_cb = NULL,
    .source_var_y = {612}, .scale_y = -0.14, .update_y_cb = NULL,
};
ELEMENT_STATIC_IMAGE attitude_bezel = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1340, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* attitude_list[] = {&attitude_case.header, NULL};

MOUSERECT attitude_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43789),
        MOUSE_CHILD_EVENT(67, 127, 13, 26, CURSOR_DOWNARROW, CLICK_REPEAT, 66319),
        MOUSE_CHILD_EVENT(80, 127, 13, 26, CURSOR_UPARROW, CLICK_REPEAT, 66318),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Turn Coordinator" ---------------------------------------------------------- */
// The aircraft symbol banks 45 degrees each way at a turn rate of 4.5 and stops there;
// the ball slides along its tube and rises at both ends; the OFF flag shows at 20 V or
// less on the main bus.

extern ELEMENT_SLIDER turn_ball;
extern ELEMENT_STATIC_IMAGE turn_tube;
extern ELEMENT_ICON turn_flag;
extern ELEMENT_NEEDLE turn_symbol;
extern ELEMENT_STATIC_IMAGE turn_bezel;

// A turn coordinator failure freezes the symbol; losing panel power levels it.
FAILURE_RECORD turn_symbol_fail[] = {
    {FAIL_GAUGE_TURN_COORDINATOR, FAIL_ACTION_FREEZE, 0},
    {FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_ZERO, 0},
    {0, 0, 0},
};

// Turn rate after Turn_rate_cb; the end entries repeat their points, so it stops at 4.5.
NONLINEARITY turn_table[] = {
    {{46, 43}, -5, 0}, {{46, 43}, -4.5, 0}, {{112, 43}, 4.5, 0}, {{112, 43}, 5, 0},
};

// The square of the ball position (token 69), so the ball rises at both ends of the tube.
FLOAT64 TARN_CALL Turn_ball_cb(ELEMENT_SLIDER* element) {
    const FLOAT64 ball = element->source_var_y.var_value.n;
    return ball * ball;
}

// OFF flag: hidden above 20.0 V on the main bus (token 753), shown at 20.0 V or less.
FLOAT64 TARN_CALL Turn_flag_cb(ELEMENT_ICON* element) {
    return element->source_var.var_value.n > 20.0 ? FLAG_HIDDEN : FLAG_SHOWN;
}

// The raw turn rate (token 70) in the table's units.
FLOAT64 TARN_CALL Turn_rate_cb(ELEMENT_NEEDLE* element) { return element->source_var.var_value.n / 256.0; }

ELEMENT_HEADER* turn_face_next[] = {&turn_ball.header, NULL};
ELEMENT_STATIC_IMAGE turn_face = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1200, .position = {0, 0},
               .next_element = turn_face_next, .image_flags = DIAL},
};
ELEMENT_HEADER* turn_ball_next[] = {&turn_tube.header, NULL};
ELEMENT_SLIDER turn_ball = {
    .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = 1220, .position = {71, 100},
               .next_element = turn_ball_next, .image_flags = LIT_SMOOTH},
    .source_var_x = {69}, .scale_x = 0.234375, .update_x_cb = NULL,
    .source_var_y = {69}, .scale_y = -0.00018310546875, .update_y_cb = Turn_ball_cb,
};
ELEMENT_HEADER* turn_tube_next[] = {&turn_flag.header, NULL};
ELEMENT_STATIC_IMAGE turn_tube = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1230, .position = {0, 0},
               .next_element = turn_tube_next, .image_flags = OVERLAY},
};
ELEMENT_HEADER* turn_flag_next[] = {&turn_symbol.header, NULL};
ELEMENT_ICON turn_flag = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 1240, .position = {107, 78},
               .next_element = turn_flag_next, .image_flags = DIAL},
    .source_var = {753}, .update_cb = Turn_flag_cb,
    .picture_count = 1, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* turn_symbol_next[] = {&turn_bezel.header, NULL};
ELEMENT_NEEDLE turn_symbol = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1210, .position = {79, 76}, .ofs = {12, 47},
               .next_element = turn_symbol_next, .failure_systems = turn_symbol_fail, .image_flags = LIT_SMOOTH},
    .source_var = {70}, .update_cb = Turn_rate_cb,
    .nonlinearity = turn_table, .nonlinearity_table_size = 4, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE turn_bezel = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1250, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* turn_coordinator_list[] = {&turn_face.header, NULL};

// Help regions only: the upper face, and within it the band of the symbol's
// wings.
MOUSERECT turn_coordinator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_PARENT_BEGIN(0, 0, 158, 109, 43889),
            MOUSE_PARENT_BEGIN(0, 49, 158, 49, 43873),
            MOUSE_PARENT_END,
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Magnetic_Compass" ---------------------------------------------------------- */
// The card strip slides across the window as the heading runs from 0 to 360.

extern ELEMENT_MOVING_IMAGE compass_card;

// A compass failure is listed and changes nothing.
FAILURE_RECORD compass_fail[] = {{FAIL_GAUGE_MAGNETIC_COMPASS, FAIL_ACTION_NONE, 0}, {0, 0, 0}};

ELEMENT_HEADER* compass_background_next[] = {&compass_card.header, NULL};
ELEMENT_STATIC_IMAGE compass_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4210, .position = {0, 0},
               .next_element = compass_background_next, .image_flags = OVERLAY},
};
ELEMENT_MOVING_IMAGE compass_card = {
    .header = {.element_type = ELEMENT_TYPE_MOVING_IMAGE, .resource_id = 4220, .position = {0, 0},
               .failure_systems = compass_fail, .image_flags = LIT_SMOOTH},
    .source_var_x = {83}, .min_x = 360, .max_x = 0, .update_x_cb = NULL,
    .source_var_y = {0}, .min_y = 360, .max_y = 360, .update_y_cb = NULL,
};
ELEMENT_HEADER* magnetic_compass_list[] = {&compass_background.header, NULL};

MOUSERECT magnetic_compass_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43895),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "HSI" ----------------------------------------------------------------------- */
// Follows the display source (receiver 1 or GPS) through 849 to 854. The card turns
// against the heading; the heading index, course pointer, TO/FROM pointer and deviation
// bar turn with the card, at their angle relative to the heading. Every needle angle is
// in degrees (no tables). All rotating parts turn about (93,90).

extern ELEMENT_NEEDLE hsi_card;
extern ELEMENT_NEEDLE hsi_heading_index;
extern ELEMENT_NEEDLE hsi_course_pointer;
extern ELEMENT_NEEDLE hsi_tofrom;
extern ELEMENT_SPRITE hsi_deviation_bar;
extern ELEMENT_ICON hsi_nav_flag;
extern ELEMENT_ICON hsi_hdg_flag;
extern ELEMENT_SLIDER hsi_gs_left;
extern ELEMENT_SLIDER hsi_gs_right;
extern ELEMENT_NEEDLE hsi_course_knob;
extern ELEMENT_NEEDLE hsi_heading_knob;

constexpr UINT32 HEADING = 84;
constexpr UINT32 COURSE = 854;
constexpr UINT32 GPS_DRIVES_NAV = 848;
constexpr UINT32 COMMON_FAILURE = 279;
constexpr UINT32 RECEIVER_FAILURE = 285;
constexpr UINT32 AVIONICS_BUS_VOLTS = 755;

// F1: card and heading index freeze without panel power or with a gyro heading failure.
FAILURE_RECORD hsi_f1[] = {
    {FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_FREEZE, 0},
    {FAIL_GAUGE_GYRO_HEADING, FAIL_ACTION_FREEZE, 0},
    {0, 0, 0},
};
// F2: course pointer, TO/FROM and deviation bar also drop to zero without avionics power
// or with a receiver 1 failure.
FAILURE_RECORD hsi_f2[] = {
    {FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_FREEZE, 0},
    {FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_ZERO, 0},
    {FAIL_GAUGE_GYRO_HEADING, FAIL_ACTION_FREEZE, 0},
    {FAIL_GAUGE_NAVIGATION_VOR1, FAIL_ACTION_ZERO, 0},
    {0, 0, 0},
};
// F3: the glideslope pointers vanish without avionics power or with a receiver 1 failure.
FAILURE_RECORD hsi_f3[] = {
    {FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_NO_DRAW, 0},
    {FAIL_GAUGE_NAVIGATION_VOR1, FAIL_ACTION_NO_DRAW, 0},
    {0, 0, 0},
};

void set_hidden(ELEMENT_HEADER& header, bool hidden) {
    if (hidden) header.image_flags |= IMAGE_HIDDEN;
    else header.image_flags &= ~IMAGE_HIDDEN;
}

// The card turns against the heading (token 84).
FLOAT64 TARN_CALL HSI_card_cb(ELEMENT_NEEDLE* element) { return -element->source_var.var_value.n; }

// A direction on the card (heading index 855, course 854) relative to the heading.
FLOAT64 TARN_CALL HSI_relative_cb(ELEMENT_NEEDLE* element) {
    return element->source_var.var_value.n - read_var(HEADING).n;
}

// The TO/FROM pointer (token 853: 1 TO, -1 FROM, 0 none) lies along the course, turned
// round for FROM, and is hidden when there is no indication.
FLOAT64 TARN_CALL HSI_tofrom_cb(ELEMENT_NEEDLE* element) {
    const FLOAT64 tofrom = element->source_var.var_value.n;
    set_hidden(element->header, tofrom == 0.0);
    FLOAT64 angle = read_var(COURSE).n - read_var(HEADING).n;
    if (tofrom == -1.0) angle += 180.0;
    return angle;
}

// The deviation bar's rotation: the course (its rotation token 854) relative to the heading.
FLOAT64 TARN_CALL HSI_bar_cb(ELEMENT_SPRITE* element) {
    return element->source_var_0.var_value.n - read_var(HEADING).n;
}

// Glideslope pointer: the deviation (token 850); shown only while the glideslope is
// valid (x token 852 at 0.5 or more).
FLOAT64 TARN_CALL HSI_gs_cb(ELEMENT_SLIDER* element) {
    set_hidden(element->header, !(element->source_var_x.var_value.n >= 0.5));
    return element->source_var_y.var_value.n;
}

// HDG flag: shown when the heading failure flag (token 282) or the common failure flag
// (token 279) is set; both are integers.
FLOAT64 TARN_CALL HSI_hdg_flag_cb(ELEMENT_ICON* element) {
    if (element->source_var.var_value.d != 0 || read_var(COMMON_FAILURE).d != 0) return FLAG_SHOWN;
    return FLAG_HIDDEN;
}

// NAV flag: shown unless lateral guidance (token 851) is valid, the common failure flag
// is clear and, while the receiver drives the display, the receiver has not failed and
// the avionics bus has 10 V or more. With GPS as source neither of the last two counts.
FLOAT64 TARN_CALL HSI_nav_flag_cb(ELEMENT_ICON* element) {
    FLOAT64 valid = element->source_var.var_value.n;
    if (read_var(COMMON_FAILURE).d != 0) valid = 0.0;
    if (read_var(GPS_DRIVES_NAV).n == 0.0) {
        if (read_var(RECEIVER_FAILURE).d != 0) valid = 0.0;
        if (read_var(AVIONICS_BUS_VOLTS).n < 10.0) valid = 0.0;
    }
    return valid > 0.5 ? FLAG_HIDDEN : FLAG_SHOWN;
}

ELEMENT_HEADER* hsi_case_next[] = {&hsi_card.header, NULL};
ELEMENT_STATIC_IMAGE hsi_case = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 10, .position = {0, 0},
               .next_element = hsi_case_next, .image_flags = OVERLAY},
};
ELEMENT_HEADER* hsi_card_next[] = {&hsi_heading_index.header, NULL};
ELEMENT_NEEDLE hsi_card = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 20, .position = {93, 90}, .ofs = {67, 67},
               .next_element = hsi_card_next, .failure_systems = hsi_f1, .image_flags = LIT_SMOOTH},
    .source_var = {84}, .update_cb = HSI_card_cb,
    .nonlinearity = NULL, .nonlinearity_table_size = 0, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* hsi_heading_index_next[] = {&hsi_course_pointer.header, NULL};
ELEMENT_NEEDLE hsi_heading_index = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 40, .position = {93, 90}, .ofs = {10, 66},
               .next_element = hsi_heading_index_next, .failure_systems = hsi_f1, .image_flags = LIT_SMOOTH},
    .source_var = {855}, .update_cb = HSI_relative_cb,
    .nonlinearity = NULL, .nonlinearity_table_size = 0, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* hsi_course_pointer_next[] = {&hsi_tofrom.header, NULL};
ELEMENT_NEEDLE hsi_course_pointer = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 50, .position = {93, 90}, .ofs = {50, 58},
               .next_element = hsi_course_pointer_next, .failure_systems = hsi_f2, .image_flags = LIT_SMOOTH},
    .source_var = {854}, .update_cb = HSI_relative_cb,
    .nonlinearity = NULL, .nonlinearity_table_size = 0, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* hsi_tofrom_next[] = {&hsi_deviation_bar.header, NULL};
ELEMENT_NEEDLE hsi_tofrom = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 30, .position = {93, 90}, .ofs = {12, 21},
               .next_element = hsi_tofrom_next, .failure_systems = hsi_f2, .image_flags = LIT_SMOOTH},
    .source_var = {853}, .update_cb = HSI_tofrom_cb,
    .nonlinearity = NULL, .nonlinearity_table_size = 0, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* hsi_deviation_bar_next[] = {&hsi_nav_flag.header, NULL};
ELEMENT_SPRITE hsi_deviation_bar = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 60, .position = {0, 0}, .ofs = {93, 90},
               .next_element = hsi_deviation_bar_next, .failure_systems = hsi_f2, .image_flags = LIT_SMOOTH},
    .source_var_x = {849}, .scale_x = -36, .update_x_cb = NULL,
    .source_var_y = {0}, .scale_y = 1, .update_y_cb = NULL,
    .source_var_0 = {854}, .scale_0 = -1, .update_0_cb = HSI_bar_cb,
    .texture_scale_x = 1, .texture_scale_y = 1,
};
ELEMENT_HEADER* hsi_nav_flag_next[] = {&hsi_hdg_flag.header, NULL};
ELEMENT_ICON hsi_nav_flag = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 90, .position = {47, 29},
               .next_element = hsi_nav_flag_next, .image_flags = DIAL},
    .source_var = {851}, .update_cb = HSI_nav_flag_cb,
    .picture_count = 1, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* hsi_hdg_flag_next[] = {&hsi_gs_left.header, NULL};
ELEMENT_ICON hsi_hdg_flag = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 120, .position = {102, 29},
               .next_element = hsi_hdg_flag_next, .image_flags = DIAL},
    .source_var = {282}, .update_cb = HSI_hdg_flag_cb,
    .picture_count = 1, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* hsi_gs_left_next[] = {&hsi_gs_right.header, NULL};
ELEMENT_SLIDER hsi_gs_left = {
    .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = 80, .position = {17, 85},
               .next_element = hsi_gs_left_next, .failure_systems = hsi_f3, .image_flags = LIT_SMOOTH},
    .source_var_x = {852}, .scale_x = 1, .update_x_cb = NULL,
    .source_var_y = {850}, .scale_y = 34, .update_y_cb = HSI_gs_cb,
};
ELEMENT_HEADER* hsi_gs_right_next[] = {&hsi_course_knob.header, NULL};
ELEMENT_SLIDER hsi_gs_right = {
    .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = 70, .position = {163, 85},
               .next_element = hsi_gs_right_next, .failure_systems = hsi_f3, .image_flags = LIT_SMOOTH},
    .source_var_x = {852}, .scale_x = 1, .update_x_cb = NULL,
    .source_var_y = {850}, .scale_y = 34, .update_y_cb = HSI_gs_cb,
};
ELEMENT_HEADER* hsi_course_knob_next[] = {&hsi_heading_knob.header, NULL};
ELEMENT_NEEDLE hsi_course_knob = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 110, .position = {21, 145}, .ofs = {15, 15},
               .next_element = hsi_course_knob_next, .image_flags = SMOOTH},
    .source_var = {45}, .update_cb = NULL,
    .nonlinearity = NULL, .nonlinearity_table_size = 0, .max_degrees_per_second = 0,
};
ELEMENT_NEEDLE hsi_heading_knob = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 100, .position = {165, 145}, .ofs = {15, 15},
               .image_flags = SMOOTH, .aircraft_special_instrumentation = 2},
    .source_var = {855}, .update_cb = NULL,
    .nonlinearity = NULL, .nonlinearity_table_size = 0, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* hsi_list[] = {&hsi_case.header, NULL};

MOUSERECT hsi_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43830),
        MOUSE_PARENT_BEGIN(150, 130, 30, 30, 43827),  // heading knob
            MOUSE_CHILD_EVENT(0, 0, 15, 30, CURSOR_DOWNARROW, CLICK_REPEAT, 65880),
            MOUSE_CHILD_EVENT(15, 0, 15, 30, CURSOR_UPARROW, CLICK_REPEAT, 65879),
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(6, 130, 30, 30, 43832),  // course knob
            MOUSE_CHILD_EVENT(0, 0, 15, 30, CURSOR_DOWNARROW, CLICK_REPEAT, 65662),
            MOUSE_CHILD_EVENT(15, 0, 15, 30, CURSOR_UPARROW, CLICK_REPEAT, 65663),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR attitude_gauge = TARN_GAUGE_HEADER(700, "Attitude", attitude_list, attitude_mouse, NULL, 100);
GAUGEHDR turn_coordinator_gauge =
    TARN_GAUGE_HEADER(700, "Turn Coordinator", turn_coordinator_list, turn_coordinator_mouse, NULL, 100);
GAUGEHDR magnetic_compass_gauge =
    TARN_GAUGE_HEADER(700, "Magnetic_Compass", magnetic_compass_list, magnetic_compass_mouse, NULL, 100);
GAUGEHDR hsi_gauge = TARN_GAUGE_HEADER(700, "HSI", hsi_list, hsi_mouse, NULL, 90);
