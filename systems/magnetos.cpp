// Magnetos, starter and primer: "Magnetos", "Primer".
// "Magnetos" reads 399/400 (engine 1 magneto A/B on), 438/439 (engine 2 magneto A/B on),
// 401/440 (engine 1/2 starter engaged); its switches send the magneto selections 0x10187
// to 0x1018A (engine 1) and 0x1018D to 0x10190 (engine 2), its starter halves 0x102FC and
// 0x102FD. It records engine1_magneto_a_on and engine1_magneto_b_on for the DOORS horn.
// "Primer" reads 361 (unused) and sends nothing: a click plays "sound\primer.wav" and shows
// the plunger pressed for 3400 ms.
#include "systems/tarn.h"

// Module variables: 0 at load, never reset; 0 or 1 each. The engine 1 magnetos are shared
// (systems/tarn.h).
static int32_t engine2_magneto_a_on = 0;
static int32_t engine2_magneto_b_on = 0;
static int32_t engine1_starter_on = 0;
static int32_t engine2_starter_on = 0;

// timeGetTime of the latest primer click.
static DWORD primer_pressed_time = 0;
// 1 once the primer has been clicked: before that the plunger shows released even while
// the clock is still within 3400 ms of 0.
static int32_t primer_ever_pressed = 0;

/* ---- "Magnetos" callbacks ------------------------------------------------------------ */

// The magneto selection events of one engine, by the selection they ask for.
struct MagnetoEvents {
    UINT32 both;
    UINT32 a_only;
    UINT32 b_only;
    UINT32 off;
};
static constexpr MagnetoEvents engine1_magneto_events = {0x10187, 0x10188, 0x10189, 0x1018A};
static constexpr MagnetoEvents engine2_magneto_events = {0x1018D, 0x1018E, 0x1018F, 0x10190};

enum MagnetoSwitch { MAGNETO_A, MAGNETO_B };

// A click inverts the clicked switch and keeps the other. The states are those that the
// switch icons recorded at their latest update, which follow the simulator's variables.
template <const MagnetoEvents* events, int32_t* a_on, int32_t* b_on, MagnetoSwitch clicked>
static BOOL TARN_CALL Magnetos_mag_mouse_cb(PPIXPOINT, FLAGS32) {
    const bool a = (*a_on != 0) != (clicked == MAGNETO_A);
    const bool b = (*b_on != 0) != (clicked == MAGNETO_B);
    trigger_key_event(a ? (b ? events->both : events->a_only) : (b ? events->b_only : events->off), 0);
    return TRUE;
}

// Both starter knobs lie on one rectangle and neither is transparent, so engine 2's knob,
// drawn last, would cover engine 1's turned knob with its own centred one and engine 1's
// start would never show. Engine 2's knob therefore hides itself while engine 1's key is
// turned and its own is centred; engine 1's knob, drawn just before it in the same update,
// has recorded its state already. The value stays the variable's, as for every switch.
static FLOAT64 TARN_CALL starter2_icon_cb(ELEMENT_ICON* icon) {
    const FLOAT64 v = switch_icon_cb<&engine2_starter_on>(icon);
    if (engine1_starter_on != 0 && engine2_starter_on == 0)
        icon->header.image_flags |= IMAGE_HIDDEN;
    else
        icon->header.image_flags &= ~IMAGE_HIDDEN;
    return v;
}

/* ---- "Magnetos" ---------------------------------------------------------------------- */

namespace {

extern ELEMENT_ICON magneto1_a, magneto2_a, magneto1_b, magneto2_b, starter1, starter2;

ELEMENT_HEADER* magnetos_background_next[] = {&magneto1_a.header, &magneto2_a.header, &magneto1_b.header,
                                              &magneto2_b.header, &starter1.header, &starter2.header, NULL};
ELEMENT_STATIC_IMAGE magnetos_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x1000, .position = {0, 0},
               .next_element = magnetos_background_next, .image_flags = IMAGE_USE_TRANSPARENCY},
};

ELEMENT_ICON magneto1_a = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1100, .position = {27, 35}, .image_flags = IMAGE_USE_ERASE},
    .source_var = {399}, .update_cb = switch_icon_cb<&engine1_magneto_a_on>, .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
ELEMENT_ICON magneto2_a = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1100, .position = {82, 35}, .image_flags = IMAGE_USE_ERASE},
    .source_var = {438}, .update_cb = switch_icon_cb<&engine2_magneto_a_on>, .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
ELEMENT_ICON magneto1_b = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1100, .position = {219, 35}, .image_flags = IMAGE_USE_ERASE},
    .source_var = {400}, .update_cb = switch_icon_cb<&engine1_magneto_b_on>, .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
ELEMENT_ICON magneto2_b = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1100, .position = {273, 35}, .image_flags = IMAGE_USE_ERASE},
    .source_var = {439}, .update_cb = switch_icon_cb<&engine2_magneto_b_on>, .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
// Both starter knobs lie on one rectangle; frame 0 of each is the centred knob. Engine 2's
// hides itself to let engine 1's turned knob show (starter2_icon_cb).
ELEMENT_ICON starter1 = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1200, .position = {134, 48}, .image_flags = IMAGE_USE_ERASE},
    .source_var = {401}, .update_cb = switch_icon_cb<&engine1_starter_on>, .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};
ELEMENT_ICON starter2 = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x1300, .position = {134, 48}, .image_flags = IMAGE_USE_ERASE},
    .source_var = {440}, .update_cb = starter2_icon_cb, .picture_count = 2,
    .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,
};

ELEMENT_HEADER* magnetos_list[] = {&magnetos_background.header, NULL};

MOUSERECT magnetos_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB45),
        MOUSE_CHILD_FUNCT(27, 35, 14, 40, CURSOR_HAND, MOUSE_LEFTSINGLE,
                          (Magnetos_mag_mouse_cb<&engine1_magneto_events, &engine1_magneto_a_on, &engine1_magneto_b_on, MAGNETO_A>)),
        MOUSE_CHILD_FUNCT(82, 35, 14, 40, CURSOR_HAND, MOUSE_LEFTSINGLE,
                          (Magnetos_mag_mouse_cb<&engine2_magneto_events, &engine2_magneto_a_on, &engine2_magneto_b_on, MAGNETO_A>)),
        MOUSE_CHILD_FUNCT(219, 35, 14, 40, CURSOR_HAND, MOUSE_LEFTSINGLE,
                          (Magnetos_mag_mouse_cb<&engine1_magneto_events, &engine1_magneto_a_on, &engine1_magneto_b_on, MAGNETO_B>)),
        MOUSE_CHILD_FUNCT(273, 35, 14, 40, CURSOR_HAND, MOUSE_LEFTSINGLE,
                          (Magnetos_mag_mouse_cb<&engine2_magneto_events, &engine2_magneto_a_on, &engine2_magneto_b_on, MAGNETO_B>)),
        MOUSE_CHILD_EVENT(130, 30, 25, 50, CURSOR_HAND, MOUSE_LEFTSINGLE, 0x102FC),  // engine 1 starter
        MOUSE_CHILD_EVENT(155, 30, 25, 50, CURSOR_HAND, MOUSE_LEFTSINGLE, 0x102FD),  // engine 2 starter
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR magnetos_gauge = TARN_GAUGE_HEADER(800, "Magnetos", magnetos_list, magnetos_mouse, NULL, 314);

/* ---- "Primer" callbacks -------------------------------------------------------------- */

// Pressed from a click until 3400 ms later; the unsigned difference survives the wrap of
// the millisecond clock.
static FLOAT64 TARN_CALL Primer_icon_cb(ELEMENT_ICON*) {
    const DWORD elapsed = timeGetTime() - primer_pressed_time;
    return primer_ever_pressed != 0 && elapsed <= 3400 ? 1.0 : 0.0;
}

static BOOL TARN_CALL Primer_mouse_cb(PPIXPOINT, FLAGS32) {
    sndPlaySoundA("sound\\primer.wav", SND_ASYNC);
    primer_pressed_time = timeGetTime();
    primer_ever_pressed = 1;
    return TRUE;
}

/* ---- "Primer" ------------------------------------------------------------------------ */

namespace {

extern ELEMENT_ICON primer_plunger;

ELEMENT_HEADER* primer_background_next[] = {&primer_plunger.header, NULL};
ELEMENT_STATIC_IMAGE primer_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x4100, .position = {0, 0},
               .next_element = primer_background_next,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_NO_STATIC_BLENDING | IMAGE_USE_LUMINOUS},  // 0x4011
};

// Frame 0 (released) is the background bitmap itself, frame 1 the pressed plunger.
ELEMENT_ICON primer_plunger = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 0x4100, .position = {0, 0},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},  // 0x3
    .source_var = {361}, .update_cb = Primer_icon_cb, .picture_count = 2, .switch_type = ICON_SWITCH_TYPE_STEP_TO,
};

ELEMENT_HEADER* primer_list[] = {&primer_background.header, NULL};

MOUSERECT primer_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0xAB24),
        MOUSE_CHILD_FUNCT(0, 0, 36, 70, CURSOR_HAND, MOUSE_LEFTSINGLE, Primer_mouse_cb),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR primer_gauge = TARN_GAUGE_HEADER(800, "Primer", primer_list, primer_mouse, NULL, 36);
