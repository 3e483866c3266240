// Battery, generators and avionics switch: "Battery", "Left Generator", "Right Generator",
// "Avionics Switch", "Alt_Bat".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

static void battery_cb(PGAUGEHDR, SINT32, UINT32) {}
static void left_generator_cb(PGAUGEHDR, SINT32, UINT32) {}
static void right_generator_cb(PGAUGEHDR, SINT32, UINT32) {}
static void avionics_switch_cb(PGAUGEHDR, SINT32, UINT32) {}
static void alt_bat_cb(PGAUGEHDR, SINT32, UINT32) {}

// "Battery"
static ELEMENT_STATIC_IMAGE battery_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5110, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* battery_list[] = {&battery_background.header, NULL};
static MOUSERECT battery_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab13),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR battery_gauge = TARN_GAUGE_HEADER(700, "Battery", battery_list, battery_mouse, battery_cb, 52);

// "Left Generator"
static ELEMENT_STATIC_IMAGE left_generator_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5210, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* left_generator_list[] = {&left_generator_background.header, NULL};
static MOUSERECT left_generator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab80),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR left_generator_gauge = TARN_GAUGE_HEADER(700, "Left Generator", left_generator_list, left_generator_mouse, left_generator_cb, 52);

// "Right Generator"
static ELEMENT_STATIC_IMAGE right_generator_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5310, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* right_generator_list[] = {&right_generator_background.header, NULL};
static MOUSERECT right_generator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab81),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR right_generator_gauge = TARN_GAUGE_HEADER(700, "Right Generator", right_generator_list, right_generator_mouse, right_generator_cb, 52);

// "Avionics Switch"
static ELEMENT_STATIC_IMAGE avionics_switch_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4010, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* avionics_switch_list[] = {&avionics_switch_background.header, NULL};
static MOUSERECT avionics_switch_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab0f),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR avionics_switch_gauge = TARN_GAUGE_HEADER(700, "Avionics Switch", avionics_switch_list, avionics_switch_mouse, avionics_switch_cb, 36);

// "Alt_Bat"
static ELEMENT_STATIC_IMAGE alt_bat_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4110, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* alt_bat_list[] = {&alt_bat_background.header, NULL};
static MOUSERECT alt_bat_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab4b),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR alt_bat_gauge = TARN_GAUGE_HEADER(700, "Alt_Bat", alt_bat_list, alt_bat_mouse, alt_bat_cb, 36);
