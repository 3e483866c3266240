// Radio stack read-out: "Radios", the autopilot and GPS display with its mode lamps.
// Reads 120 (autopilot vertical speed, ft/min), 839 (next waypoint identifier, text), 107
// (autopilot heading preset), 835 (distance to the next waypoint, m), 109 (autopilot
// altitude preset, ft), 846 (bearing to the next waypoint), 832 (ground speed, m/s), 1
// (tick counter), 103, 108, 106, 105, 111, 112 (autopilot master, altitude, heading, nav,
// approach and localizer hold on).
// Sends, from its buttons: 65580 (AP), 65799 (ALT), 65798 (HDG), 65729 (NAV), 65724 (APR),
// 65723 (LOC), 65892 / 65893 (altitude preset up / down), 65894 / 65895 (vertical speed up /
// down). Plays "sound\click.wav" when a mode changes and on the GPS button.
// Module variables: `gps_page`, `ap_altitude_ft`, `gps_bearing_deg`, `gps_ground_speed_kt`,
// `mode_lamp_value` (one per lamp).
//
// Two invisible one-pixel texts after the visible lines capture extra variables into the
// module variables, so the lines show what was captured on the previous update.
//
// Sections: state | helpers | text callbacks | lamp and button callbacks | records
#include <stdint.h>

#include "framework/whole_number.h"
#include "systems/tarn.h"

/* ---- state ----------------------------------------------------------------------- */

static int32_t gps_page = 0;             // 0 autopilot page, 1 GPS page
static int32_t ap_altitude_ft = 0;       // altitude preset, whole feet
static int32_t gps_bearing_deg = 0;      // bearing to the next waypoint, whole degrees
static int32_t gps_ground_speed_kt = 0;  // ground speed, whole knots

// The last truncated value of each lamp's mode variable, by the lamp's factor k at k - 1:
// AP, ALT, HDG, NAV, APR, LOC.
static int32_t mode_lamp_value[6] = {0, 0, 0, 0, 0, 0};
static const int kAprLamp = 5;  // the factor of the APR lamp, whose value darkens LOC
static const int kLocLamp = 6;

/* ---- helpers --------------------------------------------------------------------- */

// Conversion to integer toward zero. A value beyond the 32-bit range is held at its end
// and a value that is no number gives 0, so no simulator value can make the conversion
// undefined.
static int32_t truncated(FLOAT64 v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return (int32_t)v;
}

// Puts a formatted line into the element's text, cut to the characters the element holds
// (12 on the visible lines) and never beyond its buffer: a waypoint identifier of any
// length stays inside the display.
static void show_line(ELEMENT_STRING* e, const char* line) {
    if (e->string == NULL || e->string_size == 0) return;
    UINT32 room = e->max_string_length;
    if (room > e->string_size - 1) room = e->string_size - 1;
    UINT32 i = 0;
    for (; i < room && line[i] != '\0'; ++i) e->string[i] = line[i];
    e->string[i] = '\0';
}

/* ---- text callbacks -------------------------------------------------------------- */

// Autopilot page: altitude preset and vertical speed ("03000/ 0500", "03000/-0500").
// GPS page: next waypoint and bearing ("KSEA in 005"); a bearing above 360 comes down by
// 360 once and stays so.
static FLOAT64 TARN_CALL radio_line1_cb(ELEMENT_STRING* e) {
    char line[1024];  // the most one wsprintfA call writes
    if (gps_page == 0) {
        const FLOAT64 v = e->source_var[0].var_value.n;
        if (v < 0.0) wsprintfA(line, "%05d/%05d", ap_altitude_ft, truncated(v));
        else wsprintfA(line, "%05d/ %04d", ap_altitude_ft, truncated(v));
    } else {
        if (gps_bearing_deg > 360) gps_bearing_deg -= 360;
        const char* waypoint = e->source_var[1].var_value.p;
        wsprintfA(line, "%s in %03d", waypoint != NULL ? waypoint : "", gps_bearing_deg);
    }
    show_line(e, line);
    return 0.0;
}

// Autopilot page: heading preset ("^ALT  HDG270"). GPS page: distance in NM (at most 999)
// and time to go: minutes and seconds under an hour ("045NM 30:00s"), else hours and
// minutes ("180NM 02:00m"), or "--:--E" at 1 knot or less.
static FLOAT64 TARN_CALL radio_line2_cb(ELEMENT_STRING* e) {
    char line[1024];
    FLOAT64 d = e->source_var[1].var_value.n / 1852.0;
    if (gps_page == 0) {
        wsprintfA(line, "^ALT  HDG%03d", truncated(e->source_var[0].var_value.n));
    } else {
        if (d > 999.0) d = 999.0;
        if (gps_ground_speed_kt <= 1) {
            wsprintfA(line, "%03dNM --:--E", truncated(d));
        } else {
            // The time to go in whole seconds, from one division, snapped onto a whole
            // number it misses only by rounding: 10 NM at 90 kt is 400 s, where the minutes'
            // fraction times 60 comes to 39.999999999999964 s and would show 06:39s. Minutes
            // and hours follow by integer division, which gives exactly the truncated minutes
            // and hours of the time; a true fraction is still cut (1 NM at 91 kt, 39.56 s,
            // shows 00:39s).
            const FLOAT64 t = d / gps_ground_speed_kt;  // hours to go
            const int32_t seconds = truncated(snap_whole(d * 3600.0 / gps_ground_speed_kt));
            if (t < 1.0 && seconds < 3600) {
                wsprintfA(line, "%03dNM %02d:%02ds", truncated(d), seconds / 60, seconds % 60);
            } else {
                const int32_t minutes = seconds / 60;
                wsprintfA(line, "%03dNM %02d:%02dm", truncated(d), minutes / 60, minutes % 60);
            }
        }
    }
    show_line(e, line);
    return 0.0;
}

// Capture 1: altitude preset (109) and bearing (846). Draws nothing.
static FLOAT64 TARN_CALL radio_capture_cb(ELEMENT_STRING* e) {
    ap_altitude_ft = truncated(e->source_var[0].var_value.n);
    gps_bearing_deg = truncated(e->source_var[1].var_value.n);
    return 0.0;
}

// Capture 2: ground speed (832), metres per second to knots, whole knots as the product
// gives them (50 m/s is 97 kt, even where the product is figured a hair short). Draws
// nothing.
static FLOAT64 TARN_CALL ground_speed_capture_cb(ELEMENT_STRING* e) {
    gps_ground_speed_kt = truncated(snap_whole(e->source_var[0].var_value.n * 1.94));
    return 0.0;
}

/* ---- lamp and button callbacks --------------------------------------------------- */

// A mode lamp with factor k shows frame k (its legend) while its mode is on, and clicks
// whenever the mode's value differs from the truncated value it recorded.
template <int k>
static FLOAT64 TARN_CALL mode_lamp_cb(ELEMENT_ICON* e) {
    const FLOAT64 v = e->source_var.var_value.n;
    if (FLOAT64(mode_lamp_value[k - 1]) != v) sndPlaySoundA("sound\\click.wav", SND_ASYNC);
    mode_lamp_value[k - 1] = truncated(v);
    return v * k;
}

// LOC: as a mode lamp with factor 6, but dark while the approach mode is on. The APR lamp
// comes first in the element list, so its value is the one of this update.
static FLOAT64 TARN_CALL loc_lamp_cb(ELEMENT_ICON* e) {
    const FLOAT64 v = e->source_var.var_value.n;
    if (FLOAT64(mode_lamp_value[kLocLamp - 1]) != v) sndPlaySoundA("sound\\click.wav", SND_ASYNC);
    mode_lamp_value[kLocLamp - 1] = truncated(v);
    // In floating point: the recorded value is any 32-bit integer, and 1 minus the least
    // of them does not fit an int.
    return v * kLocLamp * (1.0 - FLOAT64(mode_lamp_value[kAprLamp - 1]));
}

// The GPS button turns the display between the autopilot and the GPS page.
static BOOL TARN_CALL gps_page_mouse_cb(PPIXPOINT, FLAGS32) {
    sndPlaySoundA("sound\\click.wav", SND_ASYNC);
    gps_page = 1 - gps_page;
    return TRUE;
}

/* ---- records --------------------------------------------------------------------- */

static FAILURE_RECORD radios_fail[] = {{20, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};

#define RADIOS_LINE(x, y, token1, token2, callback)                                                  \
    {                                                                                                \
        .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {x, y},        \
                   .failure_systems = radios_fail, .image_flags = IMAGE_USE_ERASE | IMAGE_USE_BRIGHT}, \
        .source_var = {{token1}, {token2}, {1}}, .update_cb = callback, .img_size = {224, 28},      \
        .max_string_length = 12, .fg_color = 0x0000FF, .bg_color = 0x000000, .hilite_color = 0x5C5C5C, \
        .font_face = "Quartz", .font_weight = 400, .font_charset = 1, .draw_text_flags = DT_SINGLELINE, \
        .highlight_list = NULL,                                                                      \
    }
#define RADIOS_CAPTURE(x, y, token1, token2, callback)                                               \
    {                                                                                                \
        .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {x, y},        \
                   .failure_systems = radios_fail, .image_flags = IMAGE_USE_ERASE | IMAGE_USE_BRIGHT}, \
        .source_var = {{token1}, {token2}, {1}}, .update_cb = callback, .img_size = {1, 1},         \
        .max_string_length = 0, .fg_color = 0x000000, .bg_color = 0x000000, .hilite_color = 0x000000, \
        .font_face = "Quartz", .font_weight = 400, .font_charset = 1, .draw_text_flags = DT_SINGLELINE, \
        .highlight_list = NULL,                                                                      \
    }
#define RADIOS_LAMP(x, y, token, frames, callback)                                                   \
    {                                                                                                \
        .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 21504, .position = {x, y},       \
                   .failure_systems = radios_fail,                                                   \
                   .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT},      \
        .source_var = {token}, .update_cb = callback, .picture_count = frames,                       \
        .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,                                                \
    }

static ELEMENT_STRING radios_line1 = RADIOS_LINE(40, 95, 120, 839, radio_line1_cb);
static ELEMENT_STRING radios_line2 = RADIOS_LINE(40, 131, 107, 835, radio_line2_cb);
static ELEMENT_STRING radios_capture1 = RADIOS_CAPTURE(17, 113, 109, 846, radio_capture_cb);
static ELEMENT_STRING radios_capture2 = RADIOS_CAPTURE(17, 113, 832, 0, ground_speed_capture_cb);
static ELEMENT_ICON radios_ap_lamp = RADIOS_LAMP(13, 184, 103, 2, mode_lamp_cb<1>);
static ELEMENT_ICON radios_alt_lamp = RADIOS_LAMP(52, 184, 108, 3, mode_lamp_cb<2>);
static ELEMENT_ICON radios_hdg_lamp = RADIOS_LAMP(91, 184, 106, 4, mode_lamp_cb<3>);
static ELEMENT_ICON radios_nav_lamp = RADIOS_LAMP(130, 184, 105, 5, mode_lamp_cb<4>);
static ELEMENT_ICON radios_apr_lamp = RADIOS_LAMP(168, 184, 111, 6, mode_lamp_cb<5>);
static ELEMENT_ICON radios_loc_lamp = RADIOS_LAMP(207, 184, 112, 7, loc_lamp_cb);

static ELEMENT_HEADER* radios_background_list[] = {
    &radios_line1.header,    &radios_line2.header,    &radios_capture1.header, &radios_capture2.header,
    &radios_ap_lamp.header,  &radios_alt_lamp.header, &radios_hdg_lamp.header, &radios_nav_lamp.header,
    &radios_apr_lamp.header, &radios_loc_lamp.header, NULL,
};
static ELEMENT_STATIC_IMAGE radios_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 21248, .position = {0, 0},
               .next_element = radios_background_list, .image_flags = IMAGE_NO_STATIC_BLENDING},
};
static ELEMENT_HEADER* radios_list[] = {&radios_background.header, NULL};

static MOUSERECT radios_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_EVENT(13, 184, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65580),   // AP
        MOUSE_CHILD_EVENT(52, 184, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65799),   // ALT
        MOUSE_CHILD_EVENT(91, 184, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65798),   // HDG
        MOUSE_CHILD_EVENT(130, 184, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65729),  // NAV
        MOUSE_CHILD_EVENT(168, 184, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65724),  // APR
        MOUSE_CHILD_EVENT(207, 184, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65723),  // LOC
        MOUSE_CHILD_EVENT(283, 100, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65892),  // ALT +
        MOUSE_CHILD_EVENT(283, 129, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65893),  // ALT -
        MOUSE_CHILD_EVENT(337, 100, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65894),  // VS +
        MOUSE_CHILD_EVENT(337, 129, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, 65895),  // VS -
        MOUSE_CHILD_FUNCT(349, 184, 31, 16, CURSOR_HAND, MOUSE_LEFTSINGLE, gps_page_mouse_cb),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR radios_gauge = TARN_GAUGE_HEADER(800, "Radios", radios_list, radios_mouse, NULL, 400);
