// Audio panel: "AudioPanel". The audio control panel as one picture with one working
// control, the avionics master switch; the panel's other controls are picture only.
// Reads 740 (avionics master, 0 off, 1 on; also through lookup_var when the gauge is
// connected to its window). Sends 66293 (toggle avionics master) with 0 on a click, then
// plays the switch click (WAVE 4130); sends it too, without sound, when the gauge is
// connected to its window with the avionics master on, so the panel comes up with the
// avionics off.
//
// Sections: flag sets | sound slot and callbacks | "AudioPanel"
#include "instruments/sound.h"
#include "instruments/tarn2.h"

namespace {

/* ---- flag sets ------------------------------------------------------------------- */

static_assert(OVERLAY == 0x3);
static_assert(CLICK == 0x20000000);

/* ---- sound slot and callbacks ------------------------------------------------------- */

SOUND_SLOT audio_panel_sound;

void TARN_CALL audio_panel_cb(PGAUGEHDR, SINT32 service_id, UINT32 extra_data) {
    switch (service_id) {
    case PANEL_SERVICE_PRE_INSTALL: sound_slot_open(&audio_panel_sound, extra_data, 4130); break;
    case PANEL_SERVICE_PRE_KILL: sound_slot_close(&audio_panel_sound); break;
    case PANEL_SERVICE_CONNECT_TO_WINDOW: {
        // Only a switch that reads exactly 1.0 is switched off.
        MODULE_VAR avionics_master = {740};
        lookup_var(&avionics_master);
        if (avionics_master.var_value.n == 1.0) trigger_key_event(66293, 0);
        break;
    }
    default: break;
    }
}

// The toggle event first, then the click.
BOOL TARN_CALL audio_panel_avionics_click(PPIXPOINT, FLAGS32) {
    trigger_key_event(66293, 0);
    sound_play(&audio_panel_sound.buffer, 0);
    return FALSE;
}

/* ---- "AudioPanel" ------------------------------------------------------------------ */

extern ELEMENT_ICON audio_panel_avionics_switch;

ELEMENT_HEADER* audio_panel_background_next[] = {&audio_panel_avionics_switch.header, NULL};
ELEMENT_STATIC_IMAGE audio_panel_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2400, .position = {0, 0},
               .next_element = audio_panel_background_next, .image_flags = OVERLAY},
};
// The frame is the token's value: 0 off (2421), 1 on (2422).
ELEMENT_ICON audio_panel_avionics_switch = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 2421, .position = {230, 14},
               .image_flags = OVERLAY},
    .source_var = {740}, .update_cb = NULL, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
    .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* audio_panel_list[] = {&audio_panel_background.header, NULL};

MOUSERECT audio_panel_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_PARENT_BEGIN(236, 19, 20, 20, 0xab0f),
            MOUSE_CHILD_FUNCT(0, 0, 20, 20, CURSOR_HAND, CLICK, audio_panel_avionics_click),
        MOUSE_PARENT_END,
        MOUSE_PARENT_BEGIN(0, 0, 22, 56, 0xab50),  // help only
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR audiopanel_gauge =
    TARN_GAUGE_HEADER(700, "AudioPanel", audio_panel_list, audio_panel_mouse, audio_panel_cb, 100);
