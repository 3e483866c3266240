// "TestGauges": a gauge module of the tests' own. Its gauges report their lifecycle and
// mouse handling as key events, so scenario scripts and unit tests can see them:
//   1002 / 1012 / 1014  pre-install / pre-kill / connect to window; value: the module's
//                       count of pre-installs so far (module state, zero at load)
//   70010               "Probe" repeat region fired; value: the mouse flags
//   70021, 70022        "Probe" drag region fired; values: x and y relative to the region
//   70030               "Probe" switch region clicked; value: the new switch state
#include <cmath>
#include <cstring>

#include "framework/linkage.h"
#include "platform/win32.h"

static UINT32 install_count = 0;
static UINT32 pre_update_count = 0;
static UINT32 probe_switch = 0;

static void TARN_CALL lifecycle_cb(PGAUGEHDR, SINT32 service, UINT32) {
    if (service == PANEL_SERVICE_PRE_INSTALL) ++install_count;
    if (service == PANEL_SERVICE_PRE_UPDATE) {
        ++pre_update_count;
        return;
    }
    trigger_key_event(1000 + UINT32(service), install_count);
}

/* ---- "Probe": one element of each kind ------------------------------------------- */

static NONLINEARITY hundreds_table[] = {{{81, 28}, 0, 0}, {{81, 128}, 500, 0}};
static FAILURE_RECORD power_fail[] = {{20, 2, 0}, {6, 1, 0}, {0, 0, 0}};
static FAILURE_RECORD avionics_fail[] = {{21, 3, 0}, {0, 0, 0}};

static FLOAT64 TARN_CALL pass_cb(ELEMENT_NEEDLE* e) { return e->source_var.var_value.n; }
static FLOAT64 TARN_CALL counter_cb(ELEMENT_ICON* e) { return e->source_var.var_value.n + 1.0; }
static FLOAT64 TARN_CALL pre_updates_cb(ELEMENT_NEEDLE*) { return pre_update_count; }
static FLOAT64 TARN_CALL text_cb(ELEMENT_STRING* e) {
    wsprintfA(e->string, "%s:%d", e->source_var[0].var_value.p, e->source_var[1].var_value.d);
    return 0.0;
}
static FLOAT64 TARN_CALL hide_cb(ELEMENT_ICON* e) {
    if (e->source_var.var_value.n > 0) e->header.image_flags |= IMAGE_HIDDEN;
    else e->header.image_flags &= ~IMAGE_HIDDEN;
    return 1.0;
}
static FLOAT64 TARN_CALL seven_cb(ELEMENT_SLIDER*) { return 7.0; }
static FLOAT64 TARN_CALL switch_cb(ELEMENT_ICON*) { return probe_switch; }
static FLOAT64 TARN_CALL lookup_cb(ELEMENT_NEEDLE*) {
    MODULE_VAR v = {390};
    lookup_var(&v);
    return v.var_value.n / 2;
}

static ELEMENT_ICON probe_switch_icon = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102, .position = {150, 50}, .image_flags = 0x3},
    .source_var = {0}, .update_cb = switch_cb, .picture_count = 2, .scale = 1.0};
static ELEMENT_NEEDLE probe_lookup = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {50, 50}, .ofs = {5, 55}},
    .source_var = {0}, .update_cb = lookup_cb};
static ELEMENT_NEEDLE probe_pre_updates = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {50, 50}, .ofs = {5, 55}},
    .source_var = {0}, .update_cb = pre_updates_cb};
static ELEMENT_MOVING_IMAGE probe_moving = {
    .header = {.element_type = ELEMENT_TYPE_MOVING_IMAGE, .resource_id = 110, .position = {0, 0}},
    .source_var_x = {602}, .min_x = 0, .max_x = 10};
static ELEMENT_SPRITE probe_sprite = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 110, .ofs = {8, 8}},
    .source_var_0 = {601}, .scale_0 = -1, .texture_scale_x = 1, .texture_scale_y = 1};
static ELEMENT_SLIDER probe_slider = {
    .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = 110, .position = {20, 20}},
    .source_var_x = {600}, .scale_x = 2, .scale_y = 1, .update_y_cb = seven_cb};
static ELEMENT_ICON probe_hide = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102, .failure_systems = avionics_fail},
    .source_var = {500}, .update_cb = hide_cb, .picture_count = 3, .scale = 1.0};
static ELEMENT_NEEDLE probe_failing = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {50, 50}, .ofs = {5, 55},
               .failure_systems = power_fail},
    .source_var = {390}};
static ELEMENT_STRING probe_text = {
    .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {0, 80}},
    .source_var = {{839}, {355}, {0}}, .update_cb = text_cb, .img_size = {60, 16}, .max_string_length = 8,
    .fg_color = 0x0000FF, .font_face = "Quartz", .font_weight = 400, .font_charset = 1, .draw_text_flags = 0x25};
static ELEMENT_ICON probe_plain_icon = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102},
    .source_var = {364}, .picture_count = 3, .switch_type = 3};
static ELEMENT_ICON probe_counter = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102},
    .source_var = {0}, .update_cb = counter_cb, .picture_count = 3, .scale = 1.0};
static ELEMENT_NEEDLE probe_slewed = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {150, 50}, .ofs = {5, 55}},
    .source_var = {350}, .update_cb = pass_cb, .max_degrees_per_second = 10};
static ELEMENT_HEADER* probe_needle_children[] = {
    &probe_slewed.header, &probe_counter.header, &probe_plain_icon.header, &probe_text.header,
    &probe_failing.header, &probe_hide.header, &probe_slider.header, &probe_sprite.header,
    &probe_moving.header, &probe_pre_updates.header, &probe_lookup.header, &probe_switch_icon.header, NULL};
static ELEMENT_NEEDLE probe_hundreds = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {81, 78}, .ofs = {5, 55},
               .next_element = probe_needle_children},
    .source_var = {74}, .nonlinearity = hundreds_table, .nonlinearity_table_size = 2};
static ELEMENT_HEADER* probe_root_children[] = {&probe_hundreds.header, NULL};
static ELEMENT_STATIC_IMAGE probe_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 100, .next_element = probe_root_children,
               .image_flags = 0x4003}};
static ELEMENT_HEADER* probe_list[] = {&probe_background.header, NULL};

static BOOL TARN_CALL probe_repeat_cb(PPIXPOINT, FLAGS32 flags) {
    trigger_key_event(70010, flags);
    return FALSE;
}
static BOOL TARN_CALL probe_drag_cb(PPIXPOINT p, FLAGS32) {
    trigger_key_event(70021, UINT32(p->x));
    trigger_key_event(70022, UINT32(p->y));
    return FALSE;
}
static BOOL TARN_CALL probe_switch_cb(PPIXPOINT, FLAGS32) {
    probe_switch = !probe_switch;
    trigger_key_event(70030, probe_switch);
    return TRUE;
}

static MOUSERECT probe_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 1),
        MOUSE_CHILD_EVENT(0, 0, 10, 10, CURSOR_HAND, MOUSE_LEFTSINGLE, 70000),
        MOUSE_CHILD_EVENT(5, 5, 10, 10, CURSOR_HAND, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, 70001),
        MOUSE_PARENT_BEGIN(100, 0, 50, 50, 2),
            MOUSE_CHILD_FUNCT(10, 10, 20, 20, CURSOR_UPARROW, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, probe_repeat_cb),
            MOUSE_CHILD_FUNCT(0, 0, 50, 50, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE | MOUSE_LEFTDRAG, probe_drag_cb),
        MOUSE_PARENT_END,
        MOUSE_CHILD_FUNCT(150, 50, 50, 50, CURSOR_HAND, MOUSE_LEFTSINGLE, probe_switch_cb),
    MOUSE_PARENT_END,
    MOUSE_END,
};
static GAUGEHDR probe_gauge = TARN_GAUGE_HEADER(700, "Probe", probe_list, probe_mouse, lifecycle_cb, 100);

/* ---- "Selector": rewrites its own records at pre-install --------------------------- */

static ELEMENT_NEEDLE selector_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {50, 50}, .ofs = {5, 55}},
    .source_var = {390}};
static ELEMENT_HEADER* selector_children[] = {&selector_needle.header, NULL};
static ELEMENT_STATIC_IMAGE selector_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 100, .next_element = selector_children}};
static ELEMENT_HEADER* selector_list[] = {&selector_background.header, NULL};
static MOUSERECT selector_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_EVENT(0, 0, 200, 100, CURSOR_HAND, MOUSE_LEFTSINGLE, 66000),
    MOUSE_PARENT_END,
    MOUSE_END,
};

// Parameters "2": engine 2 (token + 39, key event + 1); anything else leaves engine 1.
static void TARN_CALL selector_cb(PGAUGEHDR gauge, SINT32 service, UINT32 extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL && gauge->parameters && std::strcmp(gauge->parameters, "2") == 0) {
        ELEMENT_NEEDLE* n = reinterpret_cast<ELEMENT_NEEDLE*>(gauge->elements_list[0]->next_element[0]);
        n->source_var.id += 39;
        gauge->mouse_rect[1].event_id += 1;
    }
    lifecycle_cb(gauge, service, extra);
}
static GAUGEHDR selector_gauge = TARN_GAUGE_HEADER(700, "Selector", selector_list, selector_mouse, selector_cb, 100);

/* ---- "Canvas": every element kind at positions chosen for drawing tests ------------- */
// Tokens 9001 to 9009 drive it: 9001, 9002 needle degrees (smooth, plain), 9003 icon frame,
// 9004/9005 slider x/y, 9006 moving image x, 9007 sprite rotation, 9008 the number in the
// "Quartz" text, 9009 above 0 hides the hiding icon. Failure 21 stops drawing the badge.

static FLOAT64 TARN_CALL canvas_number_cb(ELEMENT_STRING* e) {
    wsprintfA(e->string, "%d", int(e->source_var[0].var_value.n));
    return 0.0;
}
static FLOAT64 TARN_CALL canvas_placard_cb(ELEMENT_STRING* e) {
    wsprintfA(e->string, "N700MS");
    return 0.0;
}
static FLOAT64 TARN_CALL canvas_hide_cb(ELEMENT_ICON* e) {
    if (e->source_var.var_value.n > 0) e->header.image_flags |= IMAGE_HIDDEN;
    else e->header.image_flags &= ~IMAGE_HIDDEN;
    return 2.0;
}
static FAILURE_RECORD canvas_badge_fail[] = {{21, 3, 0}, {0, 0, 0}};

static ELEMENT_STATIC_IMAGE canvas_badge = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 110, .position = {180, 80},
               .failure_systems = canvas_badge_fail, .image_flags = 0x3}};
static ELEMENT_ICON canvas_hiding = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102, .position = {176, 4}, .image_flags = 0x3},
    .source_var = {9009}, .update_cb = canvas_hide_cb, .picture_count = 3, .scale = 1.0};
static ELEMENT_STRING canvas_placard = {
    .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {60, 24}, .image_flags = 0x3},
    .update_cb = canvas_placard_cb, .img_size = {80, 14}, .max_string_length = 7, .fg_color = 0xFFFFFF,
    .hilite_color = 0x5C5C5C, .font_face = "Arial", .font_weight = 400, .font_charset = 1, .draw_text_flags = 0x25};
static ELEMENT_STRING canvas_number = {
    .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {60, 4}, .image_flags = 0x7},
    .source_var = {{9008}, {0}, {0}}, .update_cb = canvas_number_cb, .img_size = {60, 16}, .max_string_length = 6,
    .fg_color = 0x0000FF, .hilite_color = 0xFFFFFF, .font_face = "Quartz", .font_weight = 400, .font_charset = 1,
    .draw_text_flags = 0x25};
static ELEMENT_SPRITE canvas_sprite = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 110, .ofs = {160, 60}, .image_flags = 0x83},
    .source_var_0 = {9007}, .scale_0 = 1, .texture_scale_x = 1, .texture_scale_y = 1};
static ELEMENT_MOVING_IMAGE canvas_strip = {
    .header = {.element_type = ELEMENT_TYPE_MOVING_IMAGE, .resource_id = 120, .position = {10, 80}, .image_flags = 0x3},
    .source_var_x = {9006}, .min_x = 0, .max_x = 10};
static ELEMENT_SLIDER canvas_slider = {
    .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = 110, .position = {120, 60}, .image_flags = 0x3},
    .source_var_x = {9004}, .scale_x = 1, .source_var_y = {9005}, .scale_y = 1};
static ELEMENT_ICON canvas_icon = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102, .position = {150, 4}, .image_flags = 0x3},
    .source_var = {9003}, .picture_count = 3, .scale = 1.0};
static ELEMENT_NEEDLE canvas_plain_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {100, 70}, .ofs = {5, 55},
               .image_flags = 0x3},
    .source_var = {9002}};
static ELEMENT_NEEDLE canvas_smooth_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {35, 70}, .ofs = {5, 55},
               .image_flags = 0x83},
    .source_var = {9001}};
static ELEMENT_HEADER* canvas_children[] = {
    &canvas_smooth_needle.header, &canvas_plain_needle.header, &canvas_icon.header, &canvas_slider.header,
    &canvas_strip.header, &canvas_sprite.header, &canvas_number.header, &canvas_placard.header,
    &canvas_hiding.header, &canvas_badge.header, NULL};
static ELEMENT_STATIC_IMAGE canvas_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 100, .next_element = canvas_children,
               .image_flags = 0x4003}};
static ELEMENT_HEADER* canvas_list[] = {&canvas_background.header, NULL};
static MOUSERECT canvas_mouse[] = {MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0), MOUSE_PARENT_END, MOUSE_END};
static GAUGEHDR canvas_gauge = TARN_GAUGE_HEADER(700, "Canvas", canvas_list, canvas_mouse, NULL, 100);

/* ---- gauges without a callback, and gauges the host must refuse -------------------- */

static ELEMENT_STATIC_IMAGE plain_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 100}};
static ELEMENT_HEADER* plain_list[] = {&plain_background.header, NULL};
static MOUSERECT plain_mouse[] = {MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0), MOUSE_PARENT_END, MOUSE_END};
static GAUGEHDR plain_gauge = TARN_GAUGE_HEADER(800, "Plain", plain_list, plain_mouse, NULL, 100);

static NONLINEARITY flat_table[] = {{{10, 0}, 5, 0}, {{20, 0}, 5, 0}};
static ELEMENT_NEEDLE flat_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {50, 50}},
    .source_var = {74}, .nonlinearity = flat_table, .nonlinearity_table_size = 2};
static ELEMENT_HEADER* flat_children[] = {&flat_needle.header, NULL};
static ELEMENT_STATIC_IMAGE flat_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 100, .next_element = flat_children}};
static ELEMENT_HEADER* flat_list[] = {&flat_background.header, NULL};
static GAUGEHDR flat_gauge = TARN_GAUGE_HEADER(700, "FlatTable", flat_list, plain_mouse, lifecycle_cb, 100);

static ELEMENT_STATIC_IMAGE missing_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 999}};
static ELEMENT_HEADER* missing_list[] = {&missing_background.header, NULL};
static GAUGEHDR missing_gauge = TARN_GAUGE_HEADER(700, "MissingBitmap", missing_list, plain_mouse, NULL, 100);

/* ---- "Layered": a needle passing under one static image and not reaching another --- */
// Token 9011 turns the needle (pivot 100,50, 55 long). Image 120 lies across its sweep,
// image 121 beyond its reach, an icon (token 9012 its frame) beside it.

static ELEMENT_STATIC_IMAGE layered_far = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 121, .position = {170, 84}, .image_flags = 0x1}};
static ELEMENT_STATIC_IMAGE layered_across = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 120, .position = {118, 44}, .image_flags = 0x1}};
static ELEMENT_ICON layered_icon = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102, .position = {4, 4}},
    .source_var = {9012}, .picture_count = 3, .scale = 1.0};
static ELEMENT_NEEDLE layered_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {100, 50}, .ofs = {5, 55}},
    .source_var = {9011}};
static ELEMENT_HEADER* layered_children[] = {&layered_needle.header, &layered_icon.header, &layered_across.header,
                                             &layered_far.header, NULL};
static ELEMENT_STATIC_IMAGE layered_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 100, .next_element = layered_children,
               .image_flags = 0x1}};
static ELEMENT_HEADER* layered_list[] = {&layered_background.header, NULL};
static GAUGEHDR layered_gauge = TARN_GAUGE_HEADER(700, "Layered", layered_list, plain_mouse, NULL, 100);

/* ---- "Extremes": one element of each kind for values that are no number or infinite -- */
// Tokens 9101 to 9113, one per value: 9101 plain needle (degrees), 9102 needle slewed at 10
// degrees a second, 9103 table needle (0 at 12 o'clock, 500 at 6), 9104 needle slewed at 90
// degrees a second on a descending table (500 at 12 o'clock, 0 at 6), 9105 icon of three
// frames, 9106 / 9107 slider x (scale 2) / y, 9108 / 9109 moving image x (limits 0 to 10) / y
// (limits reversed, 10 to 0), 9110 / 9111 / 9112 sprite x / y / rotation, 9113 the text's
// number, which its callback also returns.

static FLOAT64 TARN_CALL extremes_text_cb(ELEMENT_STRING* e) {
    const FLOAT64 v = e->source_var[0].var_value.n;
    if (std::isnan(v)) wsprintfA(e->string, "NAN");
    else if (std::isinf(v)) wsprintfA(e->string, v > 0 ? "+INF" : "-INF");
    else if (std::fabs(v) > 1e9) wsprintfA(e->string, "BIG");
    else wsprintfA(e->string, "%d", int(v));
    return v;
}

static NONLINEARITY extremes_descending_table[] = {{{81, 28}, 500, 0}, {{81, 128}, 0, 0}};

static ELEMENT_STRING extremes_text = {
    .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {120, 80}},
    .source_var = {{9113}, {0}, {0}}, .update_cb = extremes_text_cb, .img_size = {60, 16}, .max_string_length = 8,
    .fg_color = 0x0000FF, .font_face = "Quartz", .font_weight = 400, .font_charset = 1, .draw_text_flags = 0x25};
static ELEMENT_SPRITE extremes_sprite = {
    .header = {.element_type = ELEMENT_TYPE_SPRITE, .resource_id = 110, .ofs = {170, 30}},
    .source_var_x = {9110}, .scale_x = 1, .source_var_y = {9111}, .scale_y = 1, .source_var_0 = {9112}, .scale_0 = 1,
    .texture_scale_x = 1, .texture_scale_y = 1};
static ELEMENT_MOVING_IMAGE extremes_moving = {
    .header = {.element_type = ELEMENT_TYPE_MOVING_IMAGE, .resource_id = 110, .position = {140, 10}},
    .source_var_x = {9108}, .min_x = 0, .max_x = 10, .source_var_y = {9109}, .min_y = 10, .max_y = 0};
static ELEMENT_SLIDER extremes_slider = {
    .header = {.element_type = ELEMENT_TYPE_SLIDER, .resource_id = 110, .position = {120, 40}},
    .source_var_x = {9106}, .scale_x = 2, .source_var_y = {9107}, .scale_y = 1};
static ELEMENT_ICON extremes_icon = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 102, .position = {4, 4}},
    .source_var = {9105}, .picture_count = 3, .scale = 1.0};
static ELEMENT_NEEDLE extremes_slewed_table_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {81, 78}, .ofs = {5, 55}},
    .source_var = {9104}, .nonlinearity = extremes_descending_table, .nonlinearity_table_size = 2,
    .max_degrees_per_second = 90};
static ELEMENT_NEEDLE extremes_table_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {81, 78}, .ofs = {5, 55}},
    .source_var = {9103}, .nonlinearity = hundreds_table, .nonlinearity_table_size = 2};
static ELEMENT_NEEDLE extremes_slewed_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {50, 50}, .ofs = {5, 55}},
    .source_var = {9102}, .max_degrees_per_second = 10};
static ELEMENT_NEEDLE extremes_plain_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 101, .position = {50, 50}, .ofs = {5, 55}},
    .source_var = {9101}};
static ELEMENT_HEADER* extremes_children[] = {
    &extremes_plain_needle.header, &extremes_slewed_needle.header, &extremes_table_needle.header,
    &extremes_slewed_table_needle.header, &extremes_icon.header, &extremes_slider.header, &extremes_moving.header,
    &extremes_sprite.header, &extremes_text.header, NULL};
static ELEMENT_STATIC_IMAGE extremes_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 100, .next_element = extremes_children}};
static ELEMENT_HEADER* extremes_list[] = {&extremes_background.header, NULL};
static GAUGEHDR extremes_gauge = TARN_GAUGE_HEADER(700, "Extremes", extremes_list, plain_mouse, NULL, 100);

static MOUSERECT open_mouse[] = {MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0), MOUSE_END};
static GAUGEHDR open_gauge = TARN_GAUGE_HEADER(700, "OpenParent", plain_list, open_mouse, NULL, 100);

extern "C" {
TARN_EXPORT IMPORT_TABLE ImportTable = TARN_IMPORT_TABLE_AS_BUILT;
TARN_EXPORT GAUGESLINKAGE Linkage = {
    0x13, module_init, module_deinit, 0, 0, 0,
    {&probe_gauge, &selector_gauge, &plain_gauge, &flat_gauge, &missing_gauge, &open_gauge, &canvas_gauge, &layered_gauge,
     &extremes_gauge, NULL}};
}
