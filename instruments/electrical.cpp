// Battery, generators and avionics switch: "Battery", "Left Generator", "Right Generator",
// "Avionics Switch", "Alt_Bat".
// Reads 364 (battery master), 565 (generator 1), 575 (generator 2), 740 (avionics master),
// each 0 off, 1 on. Sends 66241 (toggle battery master), 66363 (toggle generator 1),
// 66364 (toggle generator 2), 66293 (toggle avionics master), each with 0, and plays the
// switch click (WAVE 4130) after each.
// The switch pictures follow the simulator alone: nothing is cached. Each gauge has its
// own sound slot, live from its pre-install to its pre-kill.
//
// Sections: flag sets | sound slots and callbacks | "Battery" | "Left Generator" |
//           "Right Generator" | "Avionics Switch" | "Alt_Bat"
#include "framework/whole_number.h"
#include "instruments/sound.h"
#include "instruments/tarn2.h"

namespace {

/* ---- flag sets ------------------------------------------------------------------- */

static_assert(OVERLAY == 0x3);
static_assert(CLICK == 0x20000000);

constexpr UINT CLICK_WAVE = 4130;

/* ---- sound slots and callbacks ------------------------------------------------------ */

SOUND_SLOT battery_sound;
SOUND_SLOT left_generator_sound;
SOUND_SLOT right_generator_sound;
SOUND_SLOT avionics_switch_sound;
SOUND_SLOT alt_bat_sound;

// What every gauge callback of this file does, on its own slot: load the click at
// pre-install, release it at pre-kill; nothing on other services.
void switch_gauge_service(SOUND_SLOT* slot, SINT32 service_id, UINT32 extra_data) {
    if (service_id == PANEL_SERVICE_PRE_INSTALL) sound_slot_open(slot, extra_data, CLICK_WAVE);
    else if (service_id == PANEL_SERVICE_PRE_KILL) sound_slot_close(slot);
}
void TARN_CALL battery_cb(PGAUGEHDR, SINT32 service_id, UINT32 extra_data) {
    switch_gauge_service(&battery_sound, service_id, extra_data);
}
void TARN_CALL left_generator_cb(PGAUGEHDR, SINT32 service_id, UINT32 extra_data) {
    switch_gauge_service(&left_generator_sound, service_id, extra_data);
}
void TARN_CALL right_generator_cb(PGAUGEHDR, SINT32 service_id, UINT32 extra_data) {
    switch_gauge_service(&right_generator_sound, service_id, extra_data);
}
void TARN_CALL avionics_switch_cb(PGAUGEHDR, SINT32 service_id, UINT32 extra_data) {
    switch_gauge_service(&avionics_switch_sound, service_id, extra_data);
}
void TARN_CALL alt_bat_cb(PGAUGEHDR, SINT32 service_id, UINT32 extra_data) {
    switch_gauge_service(&alt_bat_sound, service_id, extra_data);
}

// Every click: the toggle event first, then the click sound of the gauge's own slot.
BOOL switch_click(SOUND_SLOT* slot, UINT32 event_id) {
    trigger_key_event(event_id, 0);
    sound_play(&slot->buffer, 0);
    return FALSE;
}
BOOL TARN_CALL battery_click(PPIXPOINT, FLAGS32) { return switch_click(&battery_sound, 66241); }
BOOL TARN_CALL left_generator_click(PPIXPOINT, FLAGS32) { return switch_click(&left_generator_sound, 66363); }
BOOL TARN_CALL right_generator_click(PPIXPOINT, FLAGS32) { return switch_click(&right_generator_sound, 66364); }
BOOL TARN_CALL avionics_switch_click(PPIXPOINT, FLAGS32) { return switch_click(&avionics_switch_sound, 66293); }
BOOL TARN_CALL alt_bat_left_click(PPIXPOINT, FLAGS32) { return switch_click(&alt_bat_sound, 66363); }
BOOL TARN_CALL alt_bat_right_click(PPIXPOINT, FLAGS32) { return switch_click(&alt_bat_sound, 66364); }
BOOL TARN_CALL alt_bat_battery_click(PPIXPOINT, FLAGS32) { return switch_click(&alt_bat_sound, 66241); }

// "Alt_Bat": the frame is the bit pattern (left generator, right generator, battery):
// 0 all off, 1 battery only, 2 right generator only, 4 left generator only, 7 all on.
FLOAT64 TARN_CALL alt_bat_frame_cb(ELEMENT_ICON* element) {
    MODULE_VAR right = {575};    // generator 2
    MODULE_VAR battery = {364};  // battery master
    lookup_var(&right);
    lookup_var(&battery);
    // A sum that is whole but for rounding (4 x 0.1 + 2 x 0.7 + 0.2 comes to a hair below 2)
    // shows that frame, not the one below.
    return snap_whole(4 * element->source_var.var_value.n + 2 * right.var_value.n + battery.var_value.n);
}

/* ---- "Battery" ---------------------------------------------------------------------- */

extern ELEMENT_ICON battery_switch;

ELEMENT_HEADER* battery_background_next[] = {&battery_switch.header, NULL};
ELEMENT_STATIC_IMAGE battery_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5110, .position = {0, 0},
               .next_element = battery_background_next, .image_flags = OVERLAY},
};
// Frame 0 off (5110), 1 on (5111).
ELEMENT_ICON battery_switch = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 5110, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {364}, .update_cb = NULL, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
    .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* battery_list[] = {&battery_background.header, NULL};

MOUSERECT battery_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab13),
        MOUSE_CHILD_FUNCT(0, 0, 52, 52, CURSOR_HAND, CLICK, battery_click),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Left Generator" --------------------------------------------------------------- */

extern ELEMENT_ICON left_generator_switch;

ELEMENT_HEADER* left_generator_background_next[] = {&left_generator_switch.header, NULL};
ELEMENT_STATIC_IMAGE left_generator_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5210, .position = {0, 0},
               .next_element = left_generator_background_next, .image_flags = OVERLAY},
};
// Frame 0 off (5210), 1 on (5211).
ELEMENT_ICON left_generator_switch = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 5210, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {565}, .update_cb = NULL, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
    .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* left_generator_list[] = {&left_generator_background.header, NULL};

MOUSERECT left_generator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab80),
        MOUSE_CHILD_FUNCT(0, 0, 52, 52, CURSOR_HAND, CLICK, left_generator_click),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Right Generator" -------------------------------------------------------------- */

extern ELEMENT_ICON right_generator_switch;

ELEMENT_HEADER* right_generator_background_next[] = {&right_generator_switch.header, NULL};
ELEMENT_STATIC_IMAGE right_generator_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 5310, .position = {0, 0},
               .next_element = right_generator_background_next, .image_flags = OVERLAY},
};
// Frame 0 off (5310), 1 on (5311).
ELEMENT_ICON right_generator_switch = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 5310, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {575}, .update_cb = NULL, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
    .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* right_generator_list[] = {&right_generator_background.header, NULL};

MOUSERECT right_generator_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab81),
        MOUSE_CHILD_FUNCT(0, 0, 52, 52, CURSOR_HAND, CLICK, right_generator_click),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Avionics Switch" -------------------------------------------------------------- */

extern ELEMENT_ICON avionics_switch_switch;

ELEMENT_HEADER* avionics_switch_background_next[] = {&avionics_switch_switch.header, NULL};
ELEMENT_STATIC_IMAGE avionics_switch_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4010, .position = {0, 0},
               .next_element = avionics_switch_background_next, .image_flags = OVERLAY},
};
// Frame 0 off (4000), 1 on (4001).
ELEMENT_ICON avionics_switch_switch = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 4000, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {740}, .update_cb = NULL, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
    .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* avionics_switch_list[] = {&avionics_switch_background.header, NULL};

MOUSERECT avionics_switch_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab0f),
        MOUSE_CHILD_FUNCT(20, 14, 27, 44, CURSOR_HAND, CLICK, avionics_switch_click),
    MOUSE_PARENT_END,
    MOUSE_END,
};

/* ---- "Alt_Bat" ---------------------------------------------------------------------- */
// Both generator switches and the battery switch side by side, in one picture of eight
// frames (4110 to 4117).

extern ELEMENT_ICON alt_bat_switches;

ELEMENT_HEADER* alt_bat_background_next[] = {&alt_bat_switches.header, NULL};
ELEMENT_STATIC_IMAGE alt_bat_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 4110, .position = {0, 0},
               .next_element = alt_bat_background_next, .image_flags = OVERLAY},
};
ELEMENT_ICON alt_bat_switches = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 4110, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {565}, .update_cb = alt_bat_frame_cb, .picture_count = 8,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* alt_bat_list[] = {&alt_bat_background.header, NULL};

MOUSERECT alt_bat_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab4b),
        MOUSE_CHILD_FUNCT(3, 33, 20, 68, CURSOR_HAND, CLICK, alt_bat_left_click),
        MOUSE_CHILD_FUNCT(23, 33, 19, 68, CURSOR_HAND, CLICK, alt_bat_right_click),
        MOUSE_CHILD_FUNCT(42, 33, 36, 68, CURSOR_HAND, CLICK, alt_bat_battery_click),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR battery_gauge = TARN_GAUGE_HEADER(700, "Battery", battery_list, battery_mouse, battery_cb, 52);
GAUGEHDR left_generator_gauge =
    TARN_GAUGE_HEADER(700, "Left Generator", left_generator_list, left_generator_mouse, left_generator_cb, 52);
GAUGEHDR right_generator_gauge =
    TARN_GAUGE_HEADER(700, "Right Generator", right_generator_list, right_generator_mouse, right_generator_cb, 52);
GAUGEHDR avionics_switch_gauge =
    TARN_GAUGE_HEADER(700, "Avionics Switch", avionics_switch_list, avionics_switch_mouse, avionics_switch_cb, 36);
GAUGEHDR alt_bat_gauge = TARN_GAUGE_HEADER(700, "Alt_Bat", alt_bat_list, alt_bat_mouse, alt_bat_cb, 36);
