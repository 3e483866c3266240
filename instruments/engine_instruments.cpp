// Engine instruments: "Oil_Temp_Press", "Engine_Temp", "Fuel_Pressure", "Tachometer",
// "Manifold_Pressure", "Suction_Indicator", "OAT_Indicator".
// Reads, for engine 1: 390 (engine speed), 391 (manifold pressure), 413 (exhaust gas
// temperature), 415 (cylinder head temperature), 416 (oil temperature), 418 (oil
// pressure), 425 (fuel pressure); the same variables of engine 2, 3 or 4 when the
// gauge's parameter string names that engine. Also 341 (outside air temperature) and
// 353 (suction). Sends nothing.
//
// Every needle reads its variable straight through its table, with no callback and no
// slew limit; a table that repeats its end point holds the needle on that end stop.
//
// Sections: flag sets | the engine selector | "Oil_Temp_Press" | "Engine_Temp" |
//           "Fuel_Pressure" | "Tachometer" | "Manifold_Pressure" | "Suction_Indicator" |
//           "OAT_Indicator"
#include "instruments/engine_select.h"
#include "instruments/tarn2.h"

namespace {

/* ---- flag sets ------------------------------------------------------------------- */

static_assert(DIAL == 0x4003 && LIT_SMOOTH == 0x4083 && OVERLAY == 0x3 && BRIGHT == 0x7);

// An engine failure is listed on every engine needle and changes nothing.
FAILURE_RECORD engine_needle_fail[] = {{FAIL_SYSTEM_ENGINE, FAIL_ACTION_NONE, 0}, {0, 0, 0}};

/* ---- the engine selector --------------------------------------------------------- */

// Gauge callback of the five engine gauges: at pre-install, point the instance's own
// records at the engine its parameter string names. Every other call is ignored.
void TARN_CALL engine_selector_cb(PGAUGEHDR gauge, SINT32 service_id, UINT32) {
    if (service_id == PANEL_SERVICE_PRE_INSTALL && gauge != NULL) select_engine(gauge);
}

/* ---- "Oil_Temp_Press" ------------------------------------------------------------ */
// Oil temperature on the left (0 to 150 C), oil pressure on the right (0 to 120 psi).

extern ELEMENT_NEEDLE oil_temp_needle;
extern ELEMENT_NEEDLE oil_press_needle;
extern ELEMENT_STATIC_IMAGE oil_temp_press_cover;

// Degrees Rankine: 491.67 is 0 C, 761.67 is 150 C.
NONLINEARITY oil_temp_table[] = {
    {{95, 226}, 473.67, 0}, {{95, 226}, 491.67, 0}, {{95, 78}, 761.67, 0}, {{95, 78}, 779.67, 0},
};
// Pounds per square foot, high to low: 17280 is 120 psi.
NONLINEARITY oil_press_table[] = {
    {{216, 81}, 18720, 0}, {{216, 81}, 17280, 0}, {{217, 223}, 0, 0}, {{217, 223}, -1440, 0},
};

ELEMENT_HEADER* oil_temp_press_background_next[] = {&oil_temp_needle.header, NULL};
ELEMENT_STATIC_IMAGE oil_temp_press_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1400, .position = {0, 0},
               .next_element = oil_temp_press_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* oil_temp_needle_next[] = {&oil_press_needle.header, NULL};
ELEMENT_NEEDLE oil_temp_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1410, .position = {115, 150}, .ofs = {5, 10},
               .next_element = oil_temp_needle_next, .failure_systems = engine_needle_fail, .image_flags = LIT_SMOOTH},
    .source_var = {416}, .update_cb = NULL,
    .nonlinearity = oil_temp_table, .nonlinearity_table_size = 4, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* oil_press_needle_next[] = {&oil_temp_press_cover.header, NULL};
ELEMENT_NEEDLE oil_press_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1410, .position = {185, 150}, .ofs = {5, 10},
               .next_element = oil_press_needle_next, .failure_systems = engine_needle_fail, .image_flags = LIT_SMOOTH},
    .source_var = {418}, .update_cb = NULL,
    .nonlinearity = oil_press_table, .nonlinearity_table_size = 4, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE oil_temp_press_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1420, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* oil_temp_press_list[] = {&oil_temp_press_background.header, NULL};

MOUSERECT oil_temp_press_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_PARENT_BEGIN(0, 0, 150, 300, 0xab4f),
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(150, 0, 150, 300, 0xab4e),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Engine_Temp" --------------------------------------------------------------- */
// Exhaust gas temperature on the left (0 to 1000 C), cylinder head temperature on the
// right (0 to 320 C).

extern ELEMENT_NEEDLE egt_needle;
extern ELEMENT_NEEDLE cht_needle;
extern ELEMENT_STATIC_IMAGE engine_temp_cover;

// Degrees Rankine: 491.67 is 0 C, 1211.67 is 400 C, 2291.67 is 1000 C.
NONLINEARITY egt_table[] = {
    {{107, 227}, 311.67, 0}, {{107, 227}, 491.67, 0}, {{96, 226}, 1211.67, 0},
    {{96, 76}, 2291.67, 0},  {{96, 76}, 2471.67, 0},
};
// Degrees Rankine, high to low: 1067.67 is 320 C at the top, 491.67 is 0 C at the bottom.
NONLINEARITY cht_table[] = {
    {{198, 76}, 1085.67, 0}, {{198, 76}, 1067.67, 0},  {{223, 85}, 995.67, 0},  {{248, 187}, 743.67, 0},
    {{224, 217}, 671.67, 0}, {{205, 225}, 581.67, 0}, {{189, 227}, 491.67, 0}, {{189, 227}, 473.67, 0},
};

ELEMENT_HEADER* engine_temp_background_next[] = {&egt_needle.header, NULL};
ELEMENT_STATIC_IMAGE engine_temp_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2000, .position = {0, 0},
               .next_element = engine_temp_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* egt_needle_next[] = {&cht_needle.header, NULL};
ELEMENT_NEEDLE egt_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 2010, .position = {115, 150}, .ofs = {5, 10},
               .next_element = egt_needle_next, .failure_systems = engine_needle_fail, .image_flags = LIT_SMOOTH},
    .source_var = {413}, .update_cb = NULL,
    .nonlinearity = egt_table, .nonlinearity_table_size = 5, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* cht_needle_next[] = {&engine_temp_cover.header, NULL};
ELEMENT_NEEDLE cht_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 2010, .position = {185, 150}, .ofs = {5, 10},
               .next_element = cht_needle_next, .failure_systems = engine_needle_fail, .image_flags = LIT_SMOOTH},
    .source_var = {415}, .update_cb = NULL,
    .nonlinearity = cht_table, .nonlinearity_table_size = 8, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE engine_temp_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2020, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* engine_temp_list[] = {&engine_temp_background.header, NULL};

MOUSERECT engine_temp_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_PARENT_BEGIN(0, 0, 150, 300, 0xab1d),
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(150, 0, 150, 300, 0xab15),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Fuel_Pressure" ------------------------------------------------------------- */
// 0 to 40 psi.

extern ELEMENT_NEEDLE fuel_pressure_needle;
extern ELEMENT_STATIC_IMAGE fuel_pressure_cover;

// Pounds per square foot: 5760 is 40 psi.
NONLINEARITY fuel_pressure_table[] = {
    {{48, 188}, -1440, 0}, {{48, 188}, 0, 0}, {{258, 189}, 5760, 0}, {{258, 189}, 7200, 0},
};

ELEMENT_HEADER* fuel_pressure_background_next[] = {&fuel_pressure_needle.header, NULL};
ELEMENT_STATIC_IMAGE fuel_pressure_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2100, .position = {0, 0},
               .next_element = fuel_pressure_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* fuel_pressure_needle_next[] = {&fuel_pressure_cover.header, NULL};
ELEMENT_NEEDLE fuel_pressure_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 2110, .position = {150, 150}, .ofs = {5, 10},
               .next_element = fuel_pressure_needle_next, .failure_systems = engine_needle_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {425}, .update_cb = NULL,
    .nonlinearity = fuel_pressure_table, .nonlinearity_table_size = 4, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE fuel_pressure_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2120, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* fuel_pressure_list[] = {&fuel_pressure_background.header, NULL};

MOUSERECT fuel_pressure_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab2c),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Tachometer" ---------------------------------------------------------------- */
// 0 to 3000 rpm.

extern ELEMENT_NEEDLE tachometer_needle;
extern ELEMENT_STATIC_IMAGE tachometer_cover;

NONLINEARITY tachometer_table[] = {
    {{49, 192}, -1000, 0}, {{49, 192}, 0, 0}, {{253, 192}, 3000, 0}, {{253, 192}, 4000, 0},
};

ELEMENT_HEADER* tachometer_background_next[] = {&tachometer_needle.header, NULL};
ELEMENT_STATIC_IMAGE tachometer_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2200, .position = {0, 0},
               .next_element = tachometer_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* tachometer_needle_next[] = {&tachometer_cover.header, NULL};
ELEMENT_NEEDLE tachometer_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 2210, .position = {150, 150}, .ofs = {5, 10},
               .next_element = tachometer_needle_next, .failure_systems = engine_needle_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {390}, .update_cb = NULL,
    .nonlinearity = tachometer_table, .nonlinearity_table_size = 4, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE tachometer_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2220, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* tachometer_list[] = {&tachometer_background.header, NULL};

MOUSERECT tachometer_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab68),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Manifold_Pressure" --------------------------------------------------------- */
// 0 inHg at the stop, 10 to 50 inHg along the arc.

extern ELEMENT_NEEDLE manifold_pressure_needle;
extern ELEMENT_STATIC_IMAGE manifold_pressure_cover;

// Pounds per square foot: 70.7328 per inch of mercury.
NONLINEARITY manifold_pressure_table[] = {
    {{62, 200}, -707.328, 0}, {{62, 200}, 0, 0}, {{48, 188}, 707.328, 0},
    {{253, 188}, 3536.64, 0}, {{253, 188}, 4243.968, 0},
};

ELEMENT_HEADER* manifold_pressure_background_next[] = {&manifold_pressure_needle.header, NULL};
ELEMENT_STATIC_IMAGE manifold_pressure_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2300, .position = {0, 0},
               .next_element = manifold_pressure_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* manifold_pressure_needle_next[] = {&manifold_pressure_cover.header, NULL};
ELEMENT_NEEDLE manifold_pressure_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 2310, .position = {150, 150}, .ofs = {5, 10},
               .next_element = manifold_pressure_needle_next, .failure_systems = engine_needle_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {391}, .update_cb = NULL,
    .nonlinearity = manifold_pressure_table, .nonlinearity_table_size = 5, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE manifold_pressure_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2320, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* manifold_pressure_list[] = {&manifold_pressure_background.header, NULL};

MOUSERECT manifold_pressure_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab46),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Suction_Indicator" --------------------------------------------------------- */
// Suction, 0 to 6, with two low-suction flags that show below 4 and vanish without
// panel power.

extern ELEMENT_ICON suction_left_flag;
extern ELEMENT_ICON suction_right_flag;
extern ELEMENT_NEEDLE suction_needle;
extern ELEMENT_STATIC_IMAGE suction_cover;

FAILURE_RECORD suction_flag_fail[] = {{FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};

NONLINEARITY suction_table[] = {
    {{69, 146}, 0, 0}, {{46, 61}, 3, 0}, {{153, 60}, 6, 0}, {{153, 60}, 7, 0},
};

// Flag frame: 1 (low suction) below 4.0, 0 from 4.0 up.
FLOAT64 TARN_CALL suction_flag_cb(ELEMENT_ICON* element) {
    return element->source_var.var_value.n < 4.0 ? 1.0 : 0.0;
}

ELEMENT_HEADER* suction_background_next[] = {&suction_left_flag.header, NULL};
ELEMENT_STATIC_IMAGE suction_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 250, .position = {0, 0},
               .next_element = suction_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* suction_left_flag_next[] = {&suction_right_flag.header, NULL};
ELEMENT_ICON suction_left_flag = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 280, .position = {55, 133},
               .next_element = suction_left_flag_next, .failure_systems = suction_flag_fail, .image_flags = BRIGHT},
    .source_var = {353}, .update_cb = suction_flag_cb,
    .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* suction_right_flag_next[] = {&suction_needle.header, NULL};
ELEMENT_ICON suction_right_flag = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 280, .position = {118, 133},
               .next_element = suction_right_flag_next, .failure_systems = suction_flag_fail, .image_flags = BRIGHT},
    .source_var = {353}, .update_cb = suction_flag_cb,
    .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* suction_needle_next[] = {&suction_cover.header, NULL};
ELEMENT_NEEDLE suction_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 270, .position = {100, 100}, .ofs = {12, 12},
               .next_element = suction_needle_next, .failure_systems = engine_needle_fail, .image_flags = LIT_SMOOTH},
    .source_var = {353}, .update_cb = NULL,
    .nonlinearity = suction_table, .nonlinearity_table_size = 4, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE suction_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 260, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* suction_indicator_list[] = {&suction_background.header, NULL};

MOUSERECT suction_indicator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab66),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "OAT_Indicator" ------------------------------------------------------------- */
// Outside air temperature, -70 to +50; no engine selection, no failure.

extern ELEMENT_NEEDLE oat_needle;
extern ELEMENT_STATIC_IMAGE oat_cover;

NONLINEARITY oat_table[] = {
    {{48, 189}, -71, 0}, {{48, 189}, -70, 0}, {{188, 188}, 50, 0}, {{188, 188}, 51, 0},
};

ELEMENT_HEADER* oat_background_next[] = {&oat_needle.header, NULL};
ELEMENT_STATIC_IMAGE oat_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1470, .position = {0, 0},
               .next_element = oat_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* oat_needle_next[] = {&oat_cover.header, NULL};
ELEMENT_NEEDLE oat_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 1480, .position = {115, 115}, .ofs = {28, 28},
               .next_element = oat_needle_next, .image_flags = LIT_SMOOTH},
    .source_var = {341}, .update_cb = NULL,
    .nonlinearity = oat_table, .nonlinearity_table_size = 4, .max_degrees_per_second = 0,
};
ELEMENT_STATIC_IMAGE oat_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1490, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* oat_indicator_list[] = {&oat_background.header, NULL};

MOUSERECT oat_indicator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab39),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR oil_temp_press_gauge =
    TARN_GAUGE_HEADER(700, "Oil_Temp_Press", oil_temp_press_list, oil_temp_press_mouse, engine_selector_cb, 100);
GAUGEHDR engine_temp_gauge =
    TARN_GAUGE_HEADER(700, "Engine_Temp", engine_temp_list, engine_temp_mouse, engine_selector_cb, 100);
GAUGEHDR fuel_pressure_gauge =
    TARN_GAUGE_HEADER(700, "Fuel_Pressure", fuel_pressure_list, fuel_pressure_mouse, engine_selector_cb, 100);
GAUGEHDR tachometer_gauge =
    TARN_GAUGE_HEADER(700, "Tachometer", tachometer_list, tachometer_mouse, engine_selector_cb, 100);
GAUGEHDR manifold_pressure_gauge = TARN_GAUGE_HEADER(700, "Manifold_Pressure", manifold_pressure_list,
                                                     manifold_pressure_mouse, engine_selector_cb, 100);
GAUGEHDR suction_indicator_gauge =
    TARN_GAUGE_HEADER(700, "Suction_Indicator", suction_indicator_list, suction_indicator_mouse, NULL, 100);
GAUGEHDR oat_indicator_gauge =
    TARN_GAUGE_HEADER(700, "OAT_Indicator", oat_indicator_list, oat_indicator_mouse, NULL, 100);
