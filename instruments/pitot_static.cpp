// Pitot-static instruments: "AirSpeed", "Vertical_Speed", "Altimeter".
// Reads 61 (indicated airspeed, knots), 65 (vertical speed, metres per second x 256),
// 74 (indicated altitude, feet), 75 (altimeter setting, millibars), 76 (altimeter
// setting, inches of mercury).
// Sends (through the host's mouse handling) 65884, 65883 (altimeter setting down, up).
//
// The needles read their variables straight through their tables; the only callback
// holds the pressure window to its strip. None of the three needs electrical power.
//
// Sections: flag sets | "AirSpeed" | "Vertical_Speed" | "Altimeter"
#include "instruments/tarn2.h"

namespace {

/* ---- flag sets ------------------------------------------------------------------- */

static_assert(DIAL == 0x4003 && LIT_SMOOTH == 0x4083 && SMOOTH == 0x83 && OVERLAY == 0x3);

static_assert(CLICK_REPEAT == 0x20200000);

/* ---- "AirSpeed" ------------------------------------------------------------------ */
// Knots. The needle rests on the 20 kt mark below 20 kt and stops on the 220 kt mark
// above 220 kt: both end entries repeat their neighbour's point.

extern ELEMENT_NEEDLE airspeed_needle;
extern ELEMENT_STATIC_IMAGE airspeed_cap;

// The indicator fails frozen; a pitot-static failure drops the needle to zero.
FAILURE_RECORD airspeed_fail[] = {
    {FAIL_GAUGE_AIRSPEED, FAIL_ACTION_FREEZE, 0},
    {FAIL_SYSTEM_PITOT_STATIC, FAIL_ACTION_ZERO, 0},
    {0, 0, 0},
};

NONLINEARITY airspeed_table[] = {
    {{160, 38}, 0, 0},   {{160, 38}, 20, 0},   {{178, 37}, 25, 0},  {{194, 49}, 30, 0},
    {{218, 56}, 35, 0},  {{234, 76}, 40, 0},   {{251, 205}, 65, 0}, {{192, 257}, 80, 0},
    {{169, 265}, 90, 0}, {{124, 265}, 110, 0}, {{79, 245}, 130, 0}, {{38, 132}, 180, 0},
    {{45, 108}, 190, 0}, {{73, 62}, 210, 0},   {{97, 56}, 220, 0},  {{97, 56}, 220, 0},
};

ELEMENT_HEADER* airspeed_dial_next[] = {&airspeed_needle.header, NULL};
ELEMENT_STATIC_IMAGE airspeed_dial = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 320, .position = {0, 0},
               .next_element = airspeed_dial_next, .image_flags = DIAL},
};
ELEMENT_HEADER* airspeed_needle_next[] = {&airspeed_cap.header, NULL};
ELEMENT_NEEDLE airspeed_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 330, .position = {149, 149}, .ofs = {20, 20},
               .next_element = airspeed_needle_next, .failure_systems = airspeed_fail, .image_flags = LIT_SMOOTH},
    .source_var = {61}, .update_cb = NULL,
    .nonlinearity = airspeed_table, .nonlinearity_table_size = 16, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE airspeed_cap = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 340, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* airspeed_list[] = {&airspeed_dial.header, NULL};

MOUSERECT airspeed_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43778),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Vertical_Speed" ------------------------------------------------------------ */
// +-2000 ft/min. The value is metres per second x 256, so 1300.48 is 1000 ft/min. The
// needle points to 9 o'clock at zero, sweeps up for climb and down for descent and stops
// at the 2000 ft/min marks.

extern ELEMENT_NEEDLE vertical_speed_needle;
extern ELEMENT_STATIC_IMAGE vertical_speed_cap;

// The indicator fails frozen; a pitot-static failure drops the needle to zero.
FAILURE_RECORD vertical_speed_fail[] = {
    {FAIL_GAUGE_VERTICAL_SPEED, FAIL_ACTION_FREEZE, 0},
    {FAIL_SYSTEM_PITOT_STATIC, FAIL_ACTION_ZERO, 0},
    {0, 0, 0},
};

NONLINEARITY vertical_speed_table[] = {
    {{134, 85}, -3901.44, 0}, {{134, 85}, -2600.96, 0}, {{112, 118}, -1950.72, 0}, {{69, 134}, -1300.48, 0},
    {{35, 108}, -650.24, 0},  {{35, 47}, 650.24, 0},    {{69, 24}, 1300.48, 0},    {{112, 37}, 1950.72, 0},
    {{134, 71}, 2600.96, 0},  {{134, 71}, 3901.44, 0},
};

ELEMENT_HEADER* vertical_speed_dial_next[] = {&vertical_speed_needle.header, NULL};
ELEMENT_STATIC_IMAGE vertical_speed_dial = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1000, .position = {0, 0},
               .next_element = vertical_speed_dial_next, .image_flags = DIAL},
};
ELEMENT_HEADER* vertical_speed_needle_next[] = {&vertical_speed_cap.header, NULL};
ELEMENT_NEEDLE vertical_speed_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1010, .position = {78, 78}, .ofs = {7, 7},
               .next_element = vertical_speed_needle_next, .failure_systems = vertical_speed_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {65}, .update_cb = NULL,
    .nonlinearity = vertical_speed_table, .nonlinearity_table_size = 10, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE vertical_speed_cap = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1020, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* vertical_speed_list[] = {&vertical_speed_dial.header, NULL};

MOUSERECT vertical_speed_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43894),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Altimeter" ----------------------------------------------------------------- */
// Three hands on a 0 to 10 dial, each turning half a turn from 12 o'clock to 6 o'clock
// over its table and on beyond it: the hundreds hand once per 1000 ft, the thousands
// hand once per 10 000 ft, the ten-thousands hand once per 100 000 ft. A pressure
// window shows the setting in inches of mercury; the knob turns half a turn per 57 mb.

extern ELEMENT_MOVING_IMAGE altimeter_window;
extern ELEMENT_NEEDLE altimeter_ten_thousands;
extern ELEMENT_NEEDLE altimeter_thousands;
extern ELEMENT_NEEDLE altimeter_hundreds;
extern ELEMENT_STATIC_IMAGE altimeter_glass;
extern ELEMENT_NEEDLE altimeter_knob;

// Pitot-static and altimeter failures freeze the hands.
FAILURE_RECORD altimeter_fail[] = {
    {FAIL_SYSTEM_PITOT_STATIC, FAIL_ACTION_FREEZE, 0},
    {FAIL_GAUGE_ALTIMETER, FAIL_ACTION_FREEZE, 0},
    {0, 0, 0},
};

NONLINEARITY altimeter_ten_thousands_table[] = {{{81, 28}, 0, 0}, {{81, 128}, 50000, 0}};
NONLINEARITY altimeter_thousands_table[] = {{{81, 28}, 0, 0}, {{81, 128}, 5000, 0}};
NONLINEARITY altimeter_hundreds_table[] = {{{81, 28}, 0, 0}, {{81, 128}, 500, 0}};
NONLINEARITY altimeter_knob_table[] = {{{34, 136}, 1013, 0}, {{8, 136}, 1070, 0}};

// The window's setting, held to the ends of its strip (the element's own y limits).
FLOAT64 TARN_CALL Altimeter_baro_cb(ELEMENT_MOVING_IMAGE* element) {
    const FLOAT64 value = element->source_var_y.var_value.n;
    if (value < element->min_y) return element->min_y;
    if (value > element->max_y) return element->max_y;
    return value;
}

ELEMENT_HEADER* altimeter_dial_next[] = {&altimeter_window.header, NULL};
ELEMENT_STATIC_IMAGE altimeter_dial = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1130, .position = {0, 0},
               .next_element = altimeter_dial_next, .image_flags = DIAL},
};
ELEMENT_HEADER* altimeter_window_next[] = {&altimeter_ten_thousands.header, NULL};
ELEMENT_MOVING_IMAGE altimeter_window = {
    .header = {.element_type = ELEMENT_TYPE_MOVING_IMAGE, .resource_id = 1140, .position = {112, 68},
               .next_element = altimeter_window_next, .image_flags = DIAL},
    .source_var_x = {0}, .min_x = 0, .max_x = 0, .update_x_cb = NULL,
    .source_var_y = {76}, .min_y = 28.1, .max_y = 31.5, .update_y_cb = Altimeter_baro_cb,
};
ELEMENT_HEADER* altimeter_ten_thousands_next[] = {&altimeter_thousands.header, NULL};
ELEMENT_NEEDLE altimeter_ten_thousands = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1170, .position = {81, 78}, .ofs = {31, 31},
               .next_element = altimeter_ten_thousands_next, .failure_systems = altimeter_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {74}, .update_cb = NULL,
    .nonlinearity = altimeter_ten_thousands_table, .nonlinearity_table_size = 2, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* altimeter_thousands_next[] = {&altimeter_hundreds.header, NULL};
ELEMENT_NEEDLE altimeter_thousands = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1160, .position = {81, 78}, .ofs = {10, 5},
               .next_element = altimeter_thousands_next, .failure_systems = altimeter_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {74}, .update_cb = NULL,
    .nonlinearity = altimeter_thousands_table, .nonlinearity_table_size = 2, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* altimeter_hundreds_next[] = {&altimeter_glass.header, NULL};
ELEMENT_NEEDLE altimeter_hundreds = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1150, .position = {81, 78}, .ofs = {13, 5},
               .next_element = altimeter_hundreds_next, .failure_systems = altimeter_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {74}, .update_cb = NULL,
    .nonlinearity = altimeter_hundreds_table, .nonlinearity_table_size = 2, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* altimeter_glass_next[] = {&altimeter_knob.header, NULL};
ELEMENT_STATIC_IMAGE altimeter_glass = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1180, .position = {0, 0},
               .next_element = altimeter_glass_next, .image_flags = OVERLAY},
};
ELEMENT_NEEDLE altimeter_knob = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1190, .position = {21, 136}, .ofs = {13, 13},
               .image_flags = SMOOTH},
    .source_var = {75}, .update_cb = NULL,
    .nonlinearity = altimeter_knob_table, .nonlinearity_table_size = 2, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* altimeter_list[] = {&altimeter_dial.header, NULL};

MOUSERECT altimeter_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43783),
        MOUSE_PARENT_BEGIN(8, 123, 27, 27, 43834),
            MOUSE_CHILD_EVENT(0, 0, 13, 27, CURSOR_DOWNARROW, CLICK_REPEAT, 65884),
            MOUSE_CHILD_EVENT(13, 0, 13, 27, CURSOR_UPARROW, CLICK_REPEAT, 65883),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR airspeed_gauge = TARN_GAUGE_HEADER(700, "AirSpeed", airspeed_list, airspeed_mouse, NULL, 100);
GAUGEHDR vertical_speed_gauge =
    TARN_GAUGE_HEADER(700, "Vertical_Speed", vertical_speed_list, vertical_speed_mouse, NULL, 100);
GAUGEHDR altimeter_gauge = TARN_GAUGE_HEADER(700, "Altimeter", altimeter_list, altimeter_mouse, NULL, 100);
