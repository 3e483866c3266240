// Engine instruments: "Oil_Temp_Press", "Engine_Temp", "Fuel_Pressure", "Tachometer",
// "Manifold_Pressure", "Suction_Indicator", "OAT_Indicator".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

// The engine selector: at pre-install it will point the gauge at the engine that the
// parameter string names. Until then every copy shows engine 1.
static void engine_selector_cb(PGAUGEHDR, SINT32, UINT32) {}

// "Oil_Temp_Press"
static ELEMENT_STATIC_IMAGE oil_temp_press_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1400, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* oil_temp_press_list[] = {&oil_temp_press_background.header, NULL};
static MOUSERECT oil_temp_press_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR oil_temp_press_gauge = TARN_GAUGE_HEADER(700, "Oil_Temp_Press", oil_temp_press_list, oil_temp_press_mouse, engine_selector_cb, 100);

// "Engine_Temp"
static ELEMENT_STATIC_IMAGE engine_temp_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2000, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* engine_temp_list[] = {&engine_temp_background.header, NULL};
static MOUSERECT engine_temp_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR engine_temp_gauge = TARN_GAUGE_HEADER(700, "Engine_Temp", engine_temp_list, engine_temp_mouse, engine_selector_cb, 100);

// "Fuel_Pressure"
static ELEMENT_STATIC_IMAGE fuel_pressure_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2100, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* fuel_pressure_list[] = {&fuel_pressure_background.header, NULL};
static MOUSERECT fuel_pressure_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab2c),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR fuel_pressure_gauge = TARN_GAUGE_HEADER(700, "Fuel_Pressure", fuel_pressure_list, fuel_pressure_mouse, engine_selector_cb, 100);

// "Tachometer"
static ELEMENT_STATIC_IMAGE tachometer_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2200, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* tachometer_list[] = {&tachometer_background.header, NULL};
static MOUSERECT tachometer_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab68),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR tachometer_gauge = TARN_GAUGE_HEADER(700, "Tachometer", tachometer_list, tachometer_mouse, engine_selector_cb, 100);

// "Manifold_Pressure"
static ELEMENT_STATIC_IMAGE manifold_pressure_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2300, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* manifold_pressure_list[] = {&manifold_pressure_background.header, NULL};
static MOUSERECT manifold_pressure_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab46),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR manifold_pressure_gauge = TARN_GAUGE_HEADER(700, "Manifold_Pressure", manifold_pressure_list, manifold_pressure_mouse, engine_selector_cb, 100);

// "Suction_Indicator"
static ELEMENT_STATIC_IMAGE suction_indicator_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 250, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* suction_indicator_list[] = {&suction_indicator_background.header, NULL};
static MOUSERECT suction_indicator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab66),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR suction_indicator_gauge = TARN_GAUGE_HEADER(700, "Suction_Indicator", suction_indicator_list, suction_indicator_mouse, NULL, 100);

// "OAT_Indicator"
static ELEMENT_STATIC_IMAGE oat_indicator_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1470, .position = {0, 0}, .image_flags = 0x4003},
};
static ELEMENT_HEADER* oat_indicator_list[] = {&oat_indicator_background.header, NULL};
static MOUSERECT oat_indicator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab39),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR oat_indicator_gauge = TARN_GAUGE_HEADER(700, "OAT_Indicator", oat_indicator_list, oat_indicator_mouse, NULL, 100);
