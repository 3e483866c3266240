// Navigation indicators: "VOR1", "VOR2", "ADF", "DME", "Nav GPS Switch".
// Reads 848 (GPS drives the navigation display), 849, 850, 852, 853, 854 (deviation,
// glideslope, glideslope valid, TO/FROM and course of the displayed source), 50, 52, 54
// (receiver 2 deviation, TO/FROM, course), 22, 39 (ADF card, relative bearing), 372, 373,
// 374 (DME distance, speed, time), 355 (DME selector).
// Sends (through the host's mouse handling) 65662, 65663 (receiver 1 course down, up),
// 65664, 65665 (receiver 2 course down, up), 65882, 65881 (ADF card down, up), 66286
// (DME 1/2), 66375 (GPS / receiver 1 as display source).
//
// Sections: flag sets | "VOR1" | "VOR2" | "ADF" | "DME" | "Nav GPS Switch"
#include <cstdio>

#include "instruments/tarn2.h"

namespace {

/* ---- flag sets ------------------------------------------------------------------- */

static_assert(DIAL == 0x4003 && LIT_SMOOTH == 0x4083 && SMOOTH == 0x83 && OVERLAY == 0x3 && BRIGHT_TEXT == 0x7);

static_assert(CLICK == 0x20000000 && CLICK_REPEAT == 0x20200000);

constexpr UINT32 TEXT_CENTRED = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
static_assert(TEXT_CENTRED == 0x25);

/* ---- "VOR1" ---------------------------------------------------------------------- */
// Course deviation indicator of the displayed navigation source (receiver 1 or GPS).
// Each element's child list holds the next one, in drawing order.

extern ELEMENT_SPRITE vor1_card;
extern ELEMENT_ICON vor1_glideslope_flag;
extern ELEMENT_ICON vor1_tofrom;
extern ELEMENT_NEEDLE vor1_deviation;
extern ELEMENT_NEEDLE vor1_glideslope;
extern ELEMENT_STATIC_IMAGE vor1_glass;
extern ELEMENT_NEEDLE vor1_knob;

FAILURE_RECORD vor1_case_fail[] = {{FAIL_GAUGE_NAVIGATION_VOR1, FAIL_ACTION_NONE, 0}, {0, 0, 0}};
// Receiver 1 failure zeroes, avionics failure zeroes, panel power failure freezes.
FAILURE_RECORD vor1_fail[] = {
    {FAIL_GAUGE_NAVIGATION_VOR1, FAIL_ACTION_ZERO, 0},
    {FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_ZERO, 0},
    {FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_FREEZE, 0},
    {0, 0, 0},
};

// Full-scale right deviation at (100,71), full-scale left at (41,71).
NONLINEARITY vor1_deviation_table[] = {{{100, 71}, 1, 0}, {{41, 71}, -1, 0}};
// Glideslope: fly up at (99,46), fly down at (99,95).
NONLINEARITY vor1_glideslope_table[] = {{{99, 46}, -1, 0}, {{99, 95}, 1, 0}};

ELEMENT_HEADER* vor1_case_next[] = {&vor1_card.header, NULL};
ELEMENT_STATIC_IMAGE vor1_case = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4400, .position = {0, 0},
               .next_element = vor1_case_next, .failure_systems = vor1_case_fail, .image_flags = DIAL},
};
ELEMENT_HEADER* vor1_card_next[] = {&vor1_glideslope_flag.header, NULL};
ELEMENT_SPRITE vor1_card = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 4440, .position = {0, 0}, .ofs = {70, 70},
               .next_element = vor1_card_next, .image_flags = LIT_SMOOTH},
    .source_var_0 = {854}, .scale_0 = 1,
    .texture_scale_x = 1, .texture_scale_y = 1,
};
ELEMENT_HEADER* vor1_glideslope_flag_next[] = {&vor1_tofrom.header, NULL};
// Frame 0 or 1 by the glideslope-valid token.
ELEMENT_ICON vor1_glideslope_flag = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 4450, .position = {87, 63},
               .next_element = vor1_glideslope_flag_next, .failure_systems = vor1_fail, .image_flags = LIT_SMOOTH},
    .source_var = {852}, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* vor1_tofrom_next[] = {&vor1_deviation.header, NULL};
// 1 (TO) shows frame 1, 0 frame 0; -1 (FROM) is negative and shows nothing.
ELEMENT_ICON vor1_tofrom = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 4470, .position = {64, 98},
               .next_element = vor1_tofrom_next, .failure_systems = vor1_fail, .image_flags = LIT_SMOOTH},
    .source_var = {853}, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* vor1_deviation_next[] = {&vor1_glideslope.header, NULL};
ELEMENT_NEEDLE vor1_deviation = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 4430, .position = {70, 33}, .ofs = {-7, 2},
               .next_element = vor1_deviation_next, .failure_systems = vor1_fail, .image_flags = LIT_SMOOTH},
    .source_var = {849}, .nonlinearity = vor1_deviation_table, .nonlinearity_table_size = 2,
};
ELEMENT_HEADER* vor1_glideslope_next[] = {&vor1_glass.header, NULL};
ELEMENT_NEEDLE vor1_glideslope = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 4480, .position = {37, 70}, .ofs = {0, 2},
               .next_element = vor1_glideslope_next, .failure_systems = vor1_fail, .image_flags = LIT_SMOOTH},
    .source_var = {850}, .nonlinearity = vor1_glideslope_table, .nonlinearity_table_size = 2,
};
ELEMENT_HEADER* vor1_glass_next[] = {&vor1_knob.header, NULL};
ELEMENT_STATIC_IMAGE vor1_glass = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4420, .position = {0, 0},
               .next_element = vor1_glass_next, .image_flags = OVERLAY},
};
// The course knob turns with the selected course, one degree per degree.
ELEMENT_NEEDLE vor1_knob = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 4410, .position = {19, 123}, .ofs = {15, 15},
               .image_flags = SMOOTH},
    .source_var = {854},
};
ELEMENT_HEADER* vor1_list[] = {&vor1_case.header, NULL};

MOUSERECT vor1_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43890),
        MOUSE_PARENT_BEGIN(4, 108, 29, 29, 43891),
            MOUSE_CHILD_EVENT(0, 0, 14, 29, CURSOR_DOWNARROW, CLICK_REPEAT, 65662),
            MOUSE_CHILD_EVENT(14, 0, 14, 29, CURSOR_UPARROW, CLICK_REPEAT, 65663),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR vor1_gauge = TARN_GAUGE_HEADER(700, "VOR1", vor1_list, vor1_mouse, NULL, 100);

namespace {

/* ---- "VOR2" ---------------------------------------------------------------------- */
// Course deviation indicator of navigation receiver 2.

// The TO/FROM window's frame: 0 none, 1 TO, 2 FROM.
FLOAT64 TARN_CALL VOR2_tofrom_cb(ELEMENT_ICON* e) { return FLOAT64(e->source_var.var_value.d); }

extern ELEMENT_SPRITE vor2_card;
extern ELEMENT_ICON vor2_tofrom;
extern ELEMENT_NEEDLE vor2_deviation;
extern ELEMENT_STATIC_IMAGE vor2_glass;
extern ELEMENT_NEEDLE vor2_knob;

FAILURE_RECORD vor2_case_fail[] = {{FAIL_GAUGE_NAVIGATION_VOR2, FAIL_ACTION_NONE, 0}, {0, 0, 0}};
// Receiver 2 failure zeroes, avionics failure zeroes, panel power failure freezes.
FAILURE_RECORD vor2_fail[] = {
    {FAIL_GAUGE_NAVIGATION_VOR2, FAIL_ACTION_ZERO, 0},
    {FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_ZERO, 0},
    {FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_FREEZE, 0},
    {0, 0, 0},
};

// Full-scale right deviation (127) at (102,91), full-scale left (-127) at (40,91).
NONLINEARITY vor2_deviation_table[] = {{{102, 91}, 127, 0}, {{40, 91}, -127, 0}};

ELEMENT_HEADER* vor2_case_next[] = {&vor2_card.header, NULL};
ELEMENT_STATIC_IMAGE vor2_case = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5000, .position = {0, 0},
               .next_element = vor2_case_next, .failure_systems = vor2_case_fail, .image_flags = DIAL},
};
ELEMENT_HEADER* vor2_card_next[] = {&vor2_tofrom.header, NULL};
ELEMENT_SPRITE vor2_card = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 5040, .position = {0, 0}, .ofs = {70, 70},
               .next_element = vor2_card_next, .image_flags = LIT_SMOOTH},
    .source_var_0 = {54}, .scale_0 = 1,
    .texture_scale_x = 1, .texture_scale_y = 1,
};
ELEMENT_HEADER* vor2_tofrom_next[] = {&vor2_deviation.header, NULL};
ELEMENT_ICON vor2_tofrom = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 5050, .position = {88, 70},
               .next_element = vor2_tofrom_next, .failure_systems = vor2_fail, .image_flags = LIT_SMOOTH},
    .source_var = {52}, .update_cb = VOR2_tofrom_cb, .picture_count = 3, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
    .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* vor2_deviation_next[] = {&vor2_glass.header, NULL};
ELEMENT_NEEDLE vor2_deviation = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 5030, .position = {70, 33}, .ofs = {-3, 2},
               .next_element = vor2_deviation_next, .failure_systems = vor2_fail, .image_flags = LIT_SMOOTH},
    .source_var = {50}, .nonlinearity = vor2_deviation_table, .nonlinearity_table_size = 2,
};
ELEMENT_HEADER* vor2_glass_next[] = {&vor2_knob.header, NULL};
ELEMENT_STATIC_IMAGE vor2_glass = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5020, .position = {0, 0},
               .next_element = vor2_glass_next, .image_flags = OVERLAY},
};
ELEMENT_NEEDLE vor2_knob = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 5010, .position = {17, 121}, .ofs = {15, 15},
               .image_flags = SMOOTH},
    .source_var = {54},
};
ELEMENT_HEADER* vor2_list[] = {&vor2_case.header, NULL};

MOUSERECT vor2_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43892),
        MOUSE_PARENT_BEGIN(2, 106, 29, 29, 43893),
            MOUSE_CHILD_EVENT(0, 0, 14, 29, CURSOR_DOWNARROW, CLICK_REPEAT, 65664),
            MOUSE_CHILD_EVENT(14, 0, 14, 29, CURSOR_UPARROW, CLICK_REPEAT, 65665),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR vor2_gauge = TARN_GAUGE_HEADER(700, "VOR2", vor2_list, vor2_mouse, NULL, 100);

namespace {

/* ---- "ADF" ----------------------------------------------------------------------- */
// Bearing pointer over a rotatable compass card.

extern ELEMENT_SPRITE adf_card;
extern ELEMENT_NEEDLE adf_pointer;
extern ELEMENT_STATIC_IMAGE adf_glass;
extern ELEMENT_NEEDLE adf_knob;

FAILURE_RECORD adf_case_fail[] = {{FAIL_GAUGE_ADF, FAIL_ACTION_NONE, 0}, {0, 0, 0}};
FAILURE_RECORD adf_pointer_fail[] = {
    {FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_ZERO, 0},
    {FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_FREEZE, 0},
    {0, 0, 0},
};

// Half a turn clockwise from 12 o'clock; the host carries the slope on round the circle.
NONLINEARITY adf_pointer_table[] = {{{73, 63}, 0, 0}, {{73, 83}, 180, 0}};

ELEMENT_HEADER* adf_case_next[] = {&adf_card.header, NULL};
ELEMENT_STATIC_IMAGE adf_case = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4300, .position = {0, 0},
               .next_element = adf_case_next, .failure_systems = adf_case_fail, .image_flags = DIAL},
};
ELEMENT_HEADER* adf_card_next[] = {&adf_pointer.header, NULL};
ELEMENT_SPRITE adf_card = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 4340, .position = {0, 0}, .ofs = {73, 73},
               .next_element = adf_card_next, .image_flags = LIT_SMOOTH},
    .source_var_0 = {22}, .scale_0 = 1,
    .texture_scale_x = 1, .texture_scale_y = 1,
};
ELEMENT_HEADER* adf_pointer_next[] = {&adf_glass.header, NULL};
ELEMENT_NEEDLE adf_pointer = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 4330, .position = {73, 73}, .ofs = {45, 5},
               .next_element = adf_pointer_next, .failure_systems = adf_pointer_fail, .image_flags = LIT_SMOOTH},
    .source_var = {39}, .nonlinearity = adf_pointer_table, .nonlinearity_table_size = 2,
};
ELEMENT_HEADER* adf_glass_next[] = {&adf_knob.header, NULL};
ELEMENT_STATIC_IMAGE adf_glass = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4320, .position = {0, 0},
               .next_element = adf_glass_next, .image_flags = OVERLAY},
};
ELEMENT_NEEDLE adf_knob = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 4310, .position = {18, 126}, .ofs = {14, 14},
               .image_flags = SMOOTH},
    .source_var = {22},
};
ELEMENT_HEADER* adf_list[] = {&adf_case.header, NULL};

MOUSERECT adf_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43776),
        MOUSE_PARENT_BEGIN(4, 112, 28, 28, 43777),
            MOUSE_CHILD_EVENT(0, 0, 14, 28, CURSOR_DOWNARROW, CLICK_REPEAT, 65882),
            MOUSE_CHILD_EVENT(14, 0, 14, 28, CURSOR_UPARROW, CLICK_REPEAT, 65881),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR adf_gauge = TARN_GAUGE_HEADER(700, "ADF", adf_list, adf_mouse, NULL, 100);

namespace {

/* ---- "DME" ----------------------------------------------------------------------- */
// Distance, ground speed and time read-out with the 1/2 selector. The background holds
// all seven elements in one child list. Texts are written with a bounded formatter into
// the buffer the host gives them; a distance of 99.95 reads "100.0" in full.

// Every DME text is written with snprintf bounded by the element's buffer.
bool dme_has_buffer(const ELEMENT_STRING* e) { return e->string != NULL && e->string_size > 0; }

// The second source, token 372, is negative without a DME signal.
bool dme_no_signal(const ELEMENT_STRING* e) { return e->source_var[1].var_value.n < 0; }

FLOAT64 TARN_CALL DME_distance_cb(ELEMENT_STRING* e) {
    const FLOAT64 distance = e->source_var[0].var_value.n;
    if (!dme_has_buffer(e)) return distance;
    if (dme_no_signal(e)) std::snprintf(e->string, e->string_size, "----");
    else if (distance < 100) std::snprintf(e->string, e->string_size, "%-4.1f", distance);  // 99.95 reads 100.0
    else std::snprintf(e->string, e->string_size, "%04.0f", distance);
    return distance;
}

FLOAT64 TARN_CALL DME_speed_cb(ELEMENT_STRING* e) {
    const FLOAT64 speed = e->source_var[0].var_value.n;
    if (!dme_has_buffer(e)) return speed;
    if (dme_no_signal(e)) std::snprintf(e->string, e->string_size, "----");
    else std::snprintf(e->string, e->string_size, "%03.0f", speed);
    return speed;
}

// The time shows even without a signal.
FLOAT64 TARN_CALL DME_time_cb(ELEMENT_STRING* e) {
    const FLOAT64 minutes = e->source_var[0].var_value.n;
    if (dme_has_buffer(e)) std::snprintf(e->string, e->string_size, "%02.0f", minutes);
    return minutes;
}

FLOAT64 TARN_CALL DME_label_nm_cb(ELEMENT_STRING* e) {
    if (dme_has_buffer(e)) std::snprintf(e->string, e->string_size, "NM");
    return e->source_var[0].var_value.n;
}

FLOAT64 TARN_CALL DME_label_kt_cb(ELEMENT_STRING* e) {
    if (dme_has_buffer(e)) std::snprintf(e->string, e->string_size, "KT");
    return e->source_var[0].var_value.n;
}

FLOAT64 TARN_CALL DME_label_min_cb(ELEMENT_STRING* e) {
    if (dme_has_buffer(e)) std::snprintf(e->string, e->string_size, "MIN");
    return e->source_var[0].var_value.n;
}

// Selector 1 gives frame 0, 2 frame 1; 0 wraps to 4294967295, which shows the last frame.
FLOAT64 TARN_CALL DME_select_cb(ELEMENT_ICON* e) { return FLOAT64(UINT32(e->source_var.var_value.d) - 1u); }

// Without avionics power the texts are not drawn.
FAILURE_RECORD dme_text_fail[] = {{FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};

extern ELEMENT_STRING dme_distance;
extern ELEMENT_STRING dme_speed;
extern ELEMENT_STRING dme_time;
extern ELEMENT_STRING dme_nm;
extern ELEMENT_STRING dme_kt;
extern ELEMENT_STRING dme_min;
extern ELEMENT_ICON dme_selector;

ELEMENT_HEADER* dme_background_next[] = {
    &dme_distance.header, &dme_speed.header, &dme_time.header, &dme_nm.header,
    &dme_kt.header,       &dme_min.header,   &dme_selector.header, NULL,
};
ELEMENT_STATIC_IMAGE dme_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 300, .position = {0, 0},
               .next_element = dme_background_next, .image_flags = OVERLAY},
};

// Red seven-segment text on black, as every DME text shows it.
#define DME_TEXT(x, y, w, h, chars, first, second, callback)                                                      \
    {                                                                                                             \
        .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {x, y},                   \
                   .failure_systems = dme_text_fail, .image_flags = BRIGHT_TEXT},                                \
        .source_var = {{first}, {second}, {0}}, .update_cb = callback, .img_size = {w, h},                       \
        .max_string_length = chars, .fg_color = 0x0000FF, .bg_color = 0x000000, .hilite_color = 0xFFFFFF,        \
        .font_face = "Quartz", .font_weight = 400, .font_charset = 1, .draw_text_flags = TEXT_CENTRED,           \
    }
ELEMENT_STRING dme_distance = DME_TEXT(14, 9, 32, 12, 4, 372, 372, DME_distance_cb);
ELEMENT_STRING dme_speed = DME_TEXT(47, 9, 32, 12, 4, 373, 372, DME_speed_cb);
ELEMENT_STRING dme_time = DME_TEXT(80, 9, 22, 12, 2, 374, 372, DME_time_cb);
ELEMENT_STRING dme_nm = DME_TEXT(18, 21, 21, 12, 2, 372, 372, DME_label_nm_cb);
ELEMENT_STRING dme_kt = DME_TEXT(50, 21, 21, 12, 4, 373, 372, DME_label_kt_cb);
ELEMENT_STRING dme_min = DME_TEXT(76, 21, 24, 12, 3, 374, 372, DME_label_min_cb);
#undef DME_TEXT
ELEMENT_ICON dme_selector = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 310, .position = {51, 37}, .image_flags = OVERLAY},
    .source_var = {355}, .update_cb = DME_select_cb, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
    .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* dme_list[] = {&dme_background.header, NULL};

MOUSERECT dme_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 42756),
        MOUSE_PARENT_BEGIN(51, 37, 15, 15, 42760),
            MOUSE_CHILD_EVENT(0, 0, 15, 15, CURSOR_HAND, CLICK, 66286),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR dme_gauge = TARN_GAUGE_HEADER(700, "DME", dme_list, dme_mouse, NULL, 100);

namespace {

/* ---- "Nav GPS Switch" ------------------------------------------------------------ */
// Frame 0: receiver 1 drives VOR1 and the HSI; frame 1: the GPS.

extern ELEMENT_ICON nav_gps_switch_icon;

ELEMENT_HEADER* nav_gps_switch_background_next[] = {&nav_gps_switch_icon.header, NULL};
ELEMENT_STATIC_IMAGE nav_gps_switch_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4140, .position = {0, 0},
               .next_element = nav_gps_switch_background_next, .image_flags = OVERLAY},
};
ELEMENT_ICON nav_gps_switch_icon = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 4150, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {848}, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* nav_gps_switch_list[] = {&nav_gps_switch_background.header, NULL};

MOUSERECT nav_gps_switch_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43853),
        MOUSE_CHILD_EVENT(0, 0, 30, 36, CURSOR_HAND, CLICK, 66375),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR nav_gps_switch_gauge = TARN_GAUGE_HEADER(700, "Nav GPS Switch", nav_gps_switch_list, nav_gps_switch_mouse, NULL, 30);
