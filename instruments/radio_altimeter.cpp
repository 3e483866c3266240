// Radio altimeter: "Radio_Alt", "Radio_Alt_Switch".
// Reads 614 (radio height, m), 615 (decision height, m), 616 (decision-height lamp, 0 or
// 1), 65 (vertical speed, m/s x 256), 755 (avionics bus, V). Sends nothing itself; the
// decision-height knob's regions send 66322 (down) and 66321 (up) through the host's
// mouse handling. Speaks altitude callouts (WAVE 3100 to 3230, decision height 3240) on
// descent when the parameter string holds "s1".
// Module state: `radio_alt_on` (the switch, shared by both gauges, on at load), the
// callout state and "Radio_Alt"'s own DirectSound device.
//
// Sections: flag sets | module state | callouts | gauge callback | element callbacks |
//           "Radio_Alt" | "Radio_Alt_Switch"
#include "instruments/sound.h"
#include "instruments/tarn2.h"

namespace {

/* ---- flag sets ------------------------------------------------------------------- */

static_assert(DIAL == 0x4003 && LIT_SMOOTH == 0x4083 && BRIGHT == 0x7 && OVERLAY == 0x3);

static_assert(CLICK == 0x20000000 && CLICK_REPEAT == 0x20200000);

/* ---- module state ---------------------------------------------------------------- */

// One callout: it plays when the height passes its threshold downwards between two
// updates, fast enough, and its sound is not already playing.
struct CALLOUT {
    FLOAT64 threshold;              // metres
    FLOAT64 min_descent;            // feet per minute: the least rate of descent that speaks it
    LPDIRECTSOUNDBUFFER buffer;     // none until loaded
    WORD resource_id;               // WAVE resource
    LONG volume;                    // hundredths of a decibel
};

BOOL radio_alt_on = 1;              // the switch: toggled by "Radio_Alt_Switch", read by both gauges
BOOL radio_alt_sounds = 0;          // callouts enabled, from the parameter string at installation
FLOAT64 radio_alt_height = 0;       // metres, this update
FLOAT64 radio_alt_height_prev = 0;  // metres, the update before
FLOAT64 radio_alt_climb = 0;        // feet per minute, filtered; negative when descending
UINT32 callout_count = 12;          // entries of the callout table in use

HMODULE radio_alt_module = NULL;    // the module resource handle, kept for loading
LPDIRECTSOUND radio_alt_device = NULL;
UINT32 radio_alt_copies = 0;        // copies of "Radio_Alt" between pre-install and pre-kill

// Its threshold is the decision height (token 615), copied at every update.
CALLOUT decision_height_callout = {0, 50, NULL, 3240, -500};

// Searched in this order; thresholds are the feet value divided by 3.28084.
CALLOUT callout_table[12] = {
    {761.9999756160008, 100, NULL, 3100, -500},    // 2500 ft
    {304.79999024640034, 100, NULL, 3110, -500},   // 1000 ft
    {152.39999512320017, 50, NULL, 3120, -500},    // 500 ft
    {121.91999609856012, 50, NULL, 3130, -500},    // 400 ft
    {91.4399970739201, 50, NULL, 3140, -500},      // 300 ft
    {60.95999804928006, 50, NULL, 3150, -500},     // 200 ft
    {30.47999902464003, 50, NULL, 3180, -500},     // 100 ft
    {15.239999512320015, 10, NULL, 3190, -500},    // 50 ft
    {12.191999609856012, 10, NULL, 3200, -500},    // 40 ft
    {9.143999707392009, 10, NULL, 3210, -500},     // 30 ft
    {6.095999804928006, 10, NULL, 3220, -500},     // 20 ft
    {3.047999902464003, 10, NULL, 3230, -500},     // 10 ft
};

/* ---- callouts -------------------------------------------------------------------- */

FLOAT64 read_token(UINT32 token) {
    MODULE_VAR v = {token};
    lookup_var(&v);
    return v.var_value.n;
}

// The integer written right after a key: optional blanks, an optional sign, then the
// leading digits (none: 0). Large numbers stop growing rather than overflow.
long number_after(const char* key) {
    const char* p = key + 1;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r') ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (value < 100000000) value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

// Loads one callout's sound at its volume; 0 when the load failed.
DWORD load_callout(CALLOUT* c) {
    const DWORD length = sound_load_wave(&radio_alt_device, &c->buffer, c->resource_id, radio_alt_module);
    if (length != 0) sound_set_volume(&c->buffer, c->volume);
    return length;
}

// The callout test. The descent condition reads each record's second value as the least
// rate of descent in feet per minute: the record plays only while `radio_alt_climb` is
// not above minus that value (100 ft/min for 2500 and 1000 ft, 50 for 500 to 100 ft and
// the decision height, 10 for 50 to 10 ft), so a climbing aircraft never hears one.
// Returns whether it played (at most one callout starts per update).
bool callout_plays(CALLOUT* c) {
    if (!(c->threshold >= radio_alt_height)) return false;       // now at or under the threshold
    if (!(c->threshold <= radio_alt_height_prev)) return false;  // and at or above it an update ago
    if (!(radio_alt_climb <= -c->min_descent)) return false;     // descending fast enough
    if (sound_is_playing(&c->buffer)) return false;
    sound_play(&c->buffer, 0);
    return true;
}

/* ---- gauge callback -------------------------------------------------------------- */

// The device and the callout buffers are module variables, shared by every copy of the
// gauge (the same gauge on two panel windows). A copy that loads them releases what an
// earlier copy loaded rather than overwrite it, and they are released only when the last
// copy is killed, so the copy that is left keeps speaking.
void radio_alt_release_sounds() {
    for (UINT32 i = 0; i < callout_count; ++i) sound_release_buffer(&callout_table[i].buffer);
    sound_release_buffer(&decision_height_callout.buffer);
    sound_release_device(&radio_alt_device);
}

void radio_alt_pre_install(PGAUGEHDR gauge, UINT32 extra_data) {
    ++radio_alt_copies;
    const char* s = param_has_key(gauge ? gauge->parameters : NULL, 's');
    radio_alt_sounds = s != NULL && number_after(s) == 1;
    if (!radio_alt_sounds) return;
    radio_alt_release_sounds();
    radio_alt_module = (HMODULE)(ULONG_PTR)extra_data;
    const HWND window = find_host_window();
    if (!sound_create_device(window, &radio_alt_device)) return;
    if (load_callout(&decision_height_callout) == 0) return;
    for (UINT32 i = 0; i < callout_count; ++i)
        if (load_callout(&callout_table[i]) == 0) return;  // later entries stay unloaded
}

void radio_alt_connect() {
    callout_count = 12;
    radio_alt_height = read_token(614);  // no callout fires on the first update
    radio_alt_height_prev = radio_alt_height;
}

void radio_alt_pre_update() {
    radio_alt_height_prev = radio_alt_height;
    radio_alt_height = read_token(614);
    decision_height_callout.threshold = read_token(615);
    // Vertical speed in feet per minute, filtered whatever the switch position.
    radio_alt_climb = 0.9 * radio_alt_climb + 0.09999999999999998 * (read_token(65) / 256 * 3.28084 * 60);
    if (!radio_alt_on || !radio_alt_sounds) return;
    if (read_token(755) < 20.0) return;  // avionics bus
    if (callout_plays(&decision_height_callout)) return;
    for (UINT32 i = 0; i < callout_count; ++i)
        if (callout_plays(&callout_table[i])) return;
}

void radio_alt_pre_kill() {
    if (radio_alt_copies > 1) {
        --radio_alt_copies;  // another copy still speaks through them
        return;
    }
    radio_alt_copies = 0;
    radio_alt_release_sounds();
}

void TARN_CALL Radio_Alt_service_cb(PGAUGEHDR gauge, SINT32 service_id, UINT32 extra_data) {
    switch (service_id) {
    case PANEL_SERVICE_PRE_INSTALL: radio_alt_pre_install(gauge, extra_data); break;
    case PANEL_SERVICE_CONNECT_TO_WINDOW: radio_alt_connect(); break;
    case PANEL_SERVICE_PRE_UPDATE: radio_alt_pre_update(); break;
    case PANEL_SERVICE_PRE_KILL: radio_alt_pre_kill(); break;
    default: break;
    }
}

/* ---- element callbacks ------------------------------------------------------------- */

// Switched off, the pointer drops to 0 and the lamp and the switch picture vanish.
FLOAT64 TARN_CALL Radio_Alt_height_cb(ELEMENT_NEEDLE* e) { return radio_alt_on ? e->source_var.var_value.n : 0.0; }
FLOAT64 TARN_CALL Radio_Alt_lamp_cb(ELEMENT_ICON* e) { return radio_alt_on ? e->source_var.var_value.n : -1.0; }
FLOAT64 TARN_CALL Radio_Alt_Switch_icon_cb(ELEMENT_ICON*) { return radio_alt_on ? 1.0 : -1.0; }

BOOL TARN_CALL Radio_Alt_Switch_mouse_cb(PPIXPOINT, FLAGS32) {
    radio_alt_on = !radio_alt_on;
    return FALSE;
}

/* ---- "Radio_Alt" ------------------------------------------------------------------- */
// Each element's child list holds the next one, in drawing order.

extern ELEMENT_NEEDLE radio_alt_pointer;
extern ELEMENT_NEEDLE radio_alt_dh_index;
extern ELEMENT_ICON radio_alt_dh_lamp;
extern ELEMENT_STATIC_IMAGE radio_alt_glass;

FAILURE_RECORD radio_alt_pointer_fail[] = {{FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_ZERO, 0}, {0, 0, 0}};
FAILURE_RECORD radio_alt_lamp_fail[] = {{FAIL_SYSTEM_ELECTRICAL_AVIONICS, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};

// Height in metres at each point: 0, 50, 100, 200, 300, 400, 500, 1000, 1500, 2000 and
// 2500 ft, and a last point for about 100 000 ft. Shared by both needles.
NONLINEARITY radio_alt_table[] = {
    {{151, 38}, 0, 0},       {{182, 42}, 15.24, 0},  {{210, 55}, 30.48, 0},  {{250, 99}, 60.96, 0},
    {{265, 158}, 91.44, 0},  {{243, 214}, 121.92, 0}, {{194, 253}, 152.4, 0}, {{155, 261}, 304.8, 0},
    {{117, 254}, 457.2, 0},  {{82, 236}, 609.6, 0},   {{56, 208}, 762, 0},    {{48, 185}, 30479.7, 0},
};

ELEMENT_HEADER* radio_alt_background_next[] = {&radio_alt_pointer.header, NULL};
ELEMENT_STATIC_IMAGE radio_alt_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 3000, .position = {0, 0},
               .next_element = radio_alt_background_next, .image_flags = DIAL},
};
ELEMENT_HEADER* radio_alt_pointer_next[] = {&radio_alt_dh_index.header, NULL};
ELEMENT_NEEDLE radio_alt_pointer = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 3010, .position = {151, 156}, .ofs = {6, 11},
               .next_element = radio_alt_pointer_next, .failure_systems = radio_alt_pointer_fail,
               .image_flags = LIT_SMOOTH},
    .source_var = {614}, .update_cb = Radio_Alt_height_cb, .nonlinearity = radio_alt_table,
    .nonlinearity_table_size = 12, .max_degrees_per_second = 0,
};
ELEMENT_HEADER* radio_alt_dh_index_next[] = {&radio_alt_dh_lamp.header, NULL};
ELEMENT_NEEDLE radio_alt_dh_index = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 3020, .position = {151, 156}, .ofs = {6, 11},
               .next_element = radio_alt_dh_index_next, .image_flags = LIT_SMOOTH},
    .source_var = {615}, .update_cb = NULL, .nonlinearity = radio_alt_table, .nonlinearity_table_size = 12,
    .max_degrees_per_second = 0,
};
ELEMENT_HEADER* radio_alt_dh_lamp_next[] = {&radio_alt_glass.header, NULL};
// Frame 0 dark (3030), 1 lit (3031).
ELEMENT_ICON radio_alt_dh_lamp = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 3030, .position = {100, 50},
               .next_element = radio_alt_dh_lamp_next, .failure_systems = radio_alt_lamp_fail,
               .image_flags = BRIGHT},
    .source_var = {616}, .update_cb = Radio_Alt_lamp_cb, .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_STATIC_IMAGE radio_alt_glass = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 3040, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* radio_alt_list[] = {&radio_alt_background.header, NULL};

MOUSERECT radio_alt_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43540),
        MOUSE_CHILD_EVENT(15, 236, 24, 48, CURSOR_DOWNARROW, CLICK_REPEAT, 66322),  // decision height down
        MOUSE_CHILD_EVENT(39, 236, 24, 48, CURSOR_UPARROW, CLICK_REPEAT, 66321),    // decision height up
    MOUSE_PARENT_END,
    MOUSE_END,
};

// The one gauge whose parameters field is set as built: an empty string.
const char radio_alt_parameters[] = "";

/* ---- "Radio_Alt_Switch" ------------------------------------------------------------ */

extern ELEMENT_ICON radio_alt_switch_icon;

ELEMENT_HEADER* radio_alt_switch_background_next[] = {&radio_alt_switch_icon.header, NULL};
ELEMENT_STATIC_IMAGE radio_alt_switch_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 3300, .position = {0, 0},
               .next_element = radio_alt_switch_background_next, .image_flags = OVERLAY},
};
// One frame: shown while on, nothing while off.
ELEMENT_ICON radio_alt_switch_icon = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 3310, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {0}, .update_cb = Radio_Alt_Switch_icon_cb, .picture_count = 1,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON, .scale = 1.0, .offset = 0,
};
ELEMENT_HEADER* radio_alt_switch_list[] = {&radio_alt_switch_background.header, NULL};

MOUSERECT radio_alt_switch_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_FUNCT(0, 0, 30, 36, CURSOR_HAND, CLICK, Radio_Alt_Switch_mouse_cb),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR radio_alt_gauge = TARN_GAUGE_HEADER(700, "Radio_Alt", radio_alt_list, radio_alt_mouse, Radio_Alt_service_cb,
                                             90, .parameters = radio_alt_parameters);
GAUGEHDR radio_alt_switch_gauge =
    TARN_GAUGE_HEADER(700, "Radio_Alt_Switch", radio_alt_switch_list, radio_alt_switch_mouse, NULL, 30);
