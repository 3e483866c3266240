// Clock: "Clock". An analogue panel clock driven by the simulator's time of day, two
// arrow buttons that set the simulator's clock a minute forward or back (four minutes per
// repeat while held), and a red digital window that shows token 336 with two decimals.
// The clock keeps no state: time lives in the simulator.
// Reads 557 (time of day, seconds; also through lookup_var when setting), 336 (digital
// window). Sends 66044 (clock hours), 66045 (clock minutes); the window's regions send
// 65789 (up) and 65790 (down) through the host's mouse handling.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "instruments/tarn2.h"

namespace {

static_assert(DIAL == 0x4003 && BRIGHT_TEXT == 0x7 && LIT_SMOOTH == 0x4083 && OVERLAY == 0x3);

static_assert(CLICK == 0x20000000 && CLICK_REPEAT == 0x20200000);

constexpr UINT32 TEXT_CENTRED = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
static_assert(TEXT_CENTRED == 0x25);

/* ---- callbacks ------------------------------------------------------------------- */

// The digital window reads token 336 only, six characters with two decimals ("12.50" has
// one leading space). Written with a bounded formatter into the host's buffer.
FLOAT64 TARN_CALL clock_window_text(ELEMENT_STRING* e) {
    const FLOAT64 value = e->source_var[0].var_value.n;
    if (e->string != NULL && e->string_size > 0) std::snprintf(e->string, e->string_size, "%6.2f", value);
    return value;
}

// Sets the simulator's clock to the time of day plus `step` seconds: hours, then minutes.
// 23:59:30 plus a minute is 00:00; 00:00:20 less a minute is 23:59. Seconds are not sent.
void clock_adjust(int32_t step) {
    MODULE_VAR time_of_day = {557};  // time of day, seconds
    lookup_var(&time_of_day);
    // Whole seconds, truncated toward zero; a time outside the day (or no number) is
    // brought into it first, so the arithmetic below stays in range.
    double seconds = std::trunc(time_of_day.var_value.n);
    if (!std::isfinite(seconds)) seconds = 0;
    const int64_t t = int64_t(std::fmod(seconds, 86400.0));
    int64_t day = (t + step + 172800) % 86400;
    if (day < 0) day += 86400;
    const int64_t minutes = day / 60;
    const int64_t hours = minutes / 60;
    trigger_key_event(66044, UINT32(hours));         // clock hours
    trigger_key_event(66045, UINT32(minutes % 60));  // clock minutes
}

// One minute per click; four minutes per repeat while the button is held.
BOOL TARN_CALL clock_forward_click(PPIXPOINT, FLAGS32 mouse_flags) {
    clock_adjust((mouse_flags & MOUSE_DOWN_REPEAT) ? 240 : 60);
    return FALSE;
}

BOOL TARN_CALL clock_back_click(PPIXPOINT, FLAGS32 mouse_flags) {
    clock_adjust((mouse_flags & MOUSE_DOWN_REPEAT) ? -240 : -60);
    return FALSE;
}

/* ---- "Clock" --------------------------------------------------------------------- */
// Each element's child list holds the next one, in drawing order. Each hand's table puts
// 0 at twelve o'clock and its half-turn value at six; the host carries the slope on
// through the day.

extern ELEMENT_STRING clock_window;
extern ELEMENT_NEEDLE clock_hour_hand;
extern ELEMENT_NEEDLE clock_minute_hand;
extern ELEMENT_NEEDLE clock_second_hand;
extern ELEMENT_STATIC_IMAGE clock_cover;

FAILURE_RECORD clock_window_fail[] = {{FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};
const SINT32 clock_window_highlight[] = {23, 0, 5, 0, 0, 0};

NONLINEARITY clock_hour_table[] = {{{57, 35}, 0, 0}, {{57, 75}, 21600, 0}};
NONLINEARITY clock_minute_table[] = {{{57, 35}, 0, 0}, {{57, 75}, 1800, 0}};
NONLINEARITY clock_second_table[] = {{{57, 35}, 0, 0}, {{57, 75}, 30, 0}};

ELEMENT_HEADER* clock_dial_next[] = {&clock_window.header, NULL};
ELEMENT_STATIC_IMAGE clock_dial = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 200, .position = {0, 0},
               .next_element = clock_dial_next, .image_flags = DIAL},
};
ELEMENT_HEADER* clock_window_next[] = {&clock_hour_hand.header, NULL};
ELEMENT_STRING clock_window = {
    .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {31, 59},
               .next_element = clock_window_next, .failure_systems = clock_window_fail, .image_flags = BRIGHT_TEXT},
    .source_var = {{336}, {0}, {0}}, .update_cb = clock_window_text, .img_size = {52, 16}, .max_string_length = 6,
    .fg_color = 0x0000ff, .bg_color = 0x000000, .hilite_color = 0x00ff00,
    .font_face = "Quartz", .font_weight = 400, .font_charset = 1, .draw_text_flags = TEXT_CENTRED,
    .highlight_list = clock_window_highlight,
};
ELEMENT_HEADER* clock_hour_hand_next[] = {&clock_minute_hand.header, NULL};
ELEMENT_NEEDLE clock_hour_hand = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 230, .position = {57, 55}, .ofs = {5, 5},
               .next_element = clock_hour_hand_next, .image_flags = LIT_SMOOTH},
    .source_var = {557}, .nonlinearity = clock_hour_table, .nonlinearity_table_size = 2,
    .max_degrees_per_second = 0,
};
ELEMENT_HEADER* clock_minute_hand_next[] = {&clock_second_hand.header, NULL};
ELEMENT_NEEDLE clock_minute_hand = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 220, .position = {57, 55}, .ofs = {5, 5},
               .next_element = clock_minute_hand_next, .image_flags = LIT_SMOOTH},
    .source_var = {557}, .nonlinearity = clock_minute_table, .nonlinearity_table_size = 2,
    .max_degrees_per_second = 0,
};
ELEMENT_HEADER* clock_second_hand_next[] = {&clock_cover.header, NULL};
ELEMENT_NEEDLE clock_second_hand = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 210, .position = {57, 55}, .ofs = {19, 4},
               .next_element = clock_second_hand_next, .image_flags = LIT_SMOOTH},
    .source_var = {557}, .nonlinearity = clock_second_table, .nonlinearity_table_size = 2,
    .max_degrees_per_second = 0,
};
// Drawn over the hands.
ELEMENT_STATIC_IMAGE clock_cover = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 240, .position = {0, 0},
               .image_flags = OVERLAY},
};
ELEMENT_HEADER* clock_list[] = {&clock_dial.header, NULL};

MOUSERECT clock_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xab16),
        MOUSE_CHILD_FUNCT(13, 85, 12, 24, CURSOR_UPARROW, CLICK_REPEAT, clock_forward_click),
        MOUSE_CHILD_FUNCT(1, 85, 12, 24, CURSOR_DOWNARROW, CLICK_REPEAT, clock_back_click),
        MOUSE_PARENT_BEGIN(31, 59, 52, 16, 0xab60),
            MOUSE_CHILD_EVENT(26, 0, 26, 16, CURSOR_UPARROW, CLICK, 65789),
            MOUSE_CHILD_EVENT(0, 0, 26, 16, CURSOR_DOWNARROW, CLICK, 65790),
        MOUSE_PARENT_END,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR clock_gauge = TARN_GAUGE_HEADER(700, "Clock", clock_list, clock_mouse, NULL, 100);
