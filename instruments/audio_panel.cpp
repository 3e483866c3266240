// Audio panel: "AudioPanel".
// Reads nothing yet and sends nothing: each gauge is its background and its help region.
#include "instruments/tarn2.h"

static void audio_panel_cb(PGAUGEHDR, SINT32, UINT32) {}

// "AudioPanel"
static ELEMENT_STATIC_IMAGE audiopanel_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 2400, .position = {0, 0}, .image_flags = 0x3},
};
static ELEMENT_HEADER* audiopanel_list[] = {&audiopanel_background.header, NULL};
static MOUSERECT audiopanel_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR audiopanel_gauge = TARN_GAUGE_HEADER(700, "AudioPanel", audiopanel_list, audiopanel_mouse, audio_panel_cb, 100);
