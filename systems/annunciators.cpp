// Warning annunciator panels: "Warnings" (STALL, BUSBAR, two GEN, HEATER, DOORS, a spare
// lamp) and "Warnings_DI" (the first six, then airframe and propeller de-ice lamps).
// Reads 67 stall warning, 753 bus voltage (carried, unused), 390 and 429 engine speeds,
// 471 door open amount, and on "Warnings_DI" 905 and 904 de-ice switches; reads the
// recorded left_generator_on, right_generator_on, engine1_magneto_a_on and
// engine1_magneto_b_on. Sends no key events. Plays "sound\click.wav" on the TEST and
// BRT/DIM buttons and the doors horn "sound\TARN_Warn.wav", stopped with a stop request.
//
// Writes the shared lamp_test_active, lamps_dim, left_gen_offline, right_gen_offline and
// door_horn_active (systems/tarn.h). Both panels work on one set of state. Times are the
// millisecond clock; every elapsed time is an unsigned 32-bit difference, so the wrap of
// the clock does not disturb the lamp test or the horn.
#include "systems/tarn.h"

// Module variables of the annunciator panels: 0 at load, never reset.
static DWORD lamp_test_start = 0;              // clock at the latest TEST press
static int32_t left_gen_lamp_latched = 0;      // GEN lamp latches ("Warnings" only)
static int32_t right_gen_lamp_latched = 0;
static DWORD door_horn_time = 0;               // clock at the latest horn start

/* ---- callbacks --------------------------------------------------------------------- */

static void play_click() { sndPlaySoundA("sound\\click.wav", SND_ASYNC); }

// A lit lamp shows frame 1 (bright) or 2 (dim); a dark lamp frame 0.
static FLOAT64 lamp(bool lit) { return lit ? FLOAT64(lamps_dim + 1) : 0.0; }

static bool lamp_test_on() { return lamp_test_active == 1; }

static DWORD elapsed_since(DWORD start) { return timeGetTime() - start; }

// STALL, and the de-ice lamps: lit only for exactly 1.0, or by the lamp test.
static FLOAT64 TARN_CALL stall_lamp_cb(ELEMENT_ICON* icon) {
    return lamp(icon->source_var.var_value.n == 1.0 || lamp_test_on());
}

static FLOAT64 TARN_CALL deice_lamp_cb(ELEMENT_ICON* icon) {
    return lamp(icon->source_var.var_value.n == 1.0 || lamp_test_on());
}

// Flashes at 1 Hz in phase with the clock: dark for milliseconds 0 to 500 of each second.
// It comes before the GEN lamps, so it sees the offline flags of the previous update.
static FLOAT64 TARN_CALL busbar_lamp_cb(ELEMENT_ICON*) {
    if (timeGetTime() % 1000 <= 500) return lamp(false);
    return lamp(left_gen_offline == 1 || right_gen_offline == 1 || lamp_test_on());
}

// "Warnings": the lamp comes on when the engine stops (below 1 rpm) or its generator is
// switched off, and goes out only above 1000 rpm; the offline flag follows the plain
// 1000 rpm threshold.
template <int32_t* generator_on, int32_t* offline, int32_t* latched>
static FLOAT64 TARN_CALL gen_lamp_cb(ELEMENT_ICON* icon) {
    const FLOAT64 rpm = icon->source_var.var_value.n;
    *offline = rpm < 1000.0 || *generator_on == 0 ? 1 : 0;
    if (rpm < 1.0) *latched = 1;
    else if (rpm > 1000.0) *latched = 0;
    else if (*generator_on == 0) *latched = 1;
    return lamp(*latched == 1 || *generator_on == 0 || lamp_test_on());
}

// "Warnings_DI": the same offline flag, and a lamp without a latch.
template <int32_t* generator_on, int32_t* offline>
static FLOAT64 TARN_CALL gen_lamp_plain_cb(ELEMENT_ICON* icon) {
    const FLOAT64 rpm = icon->source_var.var_value.n;
    *offline = rpm < 1000.0 || *generator_on == 0 ? 1 : 0;
    return lamp(rpm < 1000.0 || *generator_on == 0 || lamp_test_on());
}

// HEATER and the spare lamp light only in the lamp test, and end it 2000 ms after the press.
static FLOAT64 TARN_CALL test_only_lamp_cb(ELEMENT_ICON*) {
    if (elapsed_since(lamp_test_start) > 2000) lamp_test_active = 0;
    return lamp(lamp_test_on());
}

// DOORS: lit while a door is open. With an engine 1 magneto on the horn starts at once and
// starts again at the first update more than 1500 ms after its previous start. Closing the
// door stops it, except during a lamp test, which leaves the horn state as it is.
static FLOAT64 TARN_CALL doors_lamp_cb(ELEMENT_ICON* icon) {
    if (icon->source_var.var_value.n > 0.0) {
        if (engine1_magneto_a_on == 1 || engine1_magneto_b_on == 1) {
            if (door_horn_active == 0) {
                door_horn_active = 1;
                door_horn_time = timeGetTime();
                sndPlaySoundA("sound\\TARN_Warn.wav", SND_ASYNC);
            } else if (elapsed_since(door_horn_time) > 1500) {
                sndPlaySoundA("sound\\TARN_Warn.wav", SND_ASYNC);
                door_horn_time = timeGetTime();
            }
        } else {
            door_horn_active = 0;  // a sound already playing is left to finish
        }
        return lamp(true);
    }
    if (lamp_test_on()) return lamp(true);
    if (door_horn_active == 1) {
        door_horn_active = 0;
        sndPlaySoundA(NULL, 0);
    }
    return lamp(false);
}

static FLOAT64 TARN_CALL dim_switch_icon_cb(ELEMENT_ICON*) { return lamps_dim == 1 ? 1.0 : 0.0; }

static BOOL TARN_CALL lamp_test_mouse_cb(PPIXPOINT, FLAGS32) {
    play_click();
    lamp_test_start = timeGetTime();
    lamp_test_active = 1;
    return TRUE;
}

static BOOL TARN_CALL dim_mouse_cb(PPIXPOINT, FLAGS32) {
    play_click();
    lamps_dim = lamps_dim == 1 ? 0 : 1;
    return TRUE;
}

/* ---- records shared by both panels ----------------------------------------------------- */

#define WARNINGS_BACKGROUND_FLAGS IMAGE_NO_STATIC_BLENDING
#define WARNINGS_LAMP_FLAGS (IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT)

// A captioned lamp: three consecutive bitmaps from its resource, dark, bright, dim.
#define WARNINGS_LAMP(x, y, resource, token, callback)                                             \
    {                                                                                              \
        .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = resource, .position = {x, y},   \
                   .failure_systems = warnings_lamp_fail, .image_flags = WARNINGS_LAMP_FLAGS},       \
        .source_var = {token}, .update_cb = callback, .picture_count = 3,                            \
        .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,                                                \
    }

// The BRT/DIM toggle: 8704 bright, 8705 dim.
#define WARNINGS_DIM_TOGGLE                                                                        \
    {                                                                                              \
        .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 8704, .position = {53, 375},    \
                   .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},                         \
        .source_var = {0}, .update_cb = dim_switch_icon_cb, .picture_count = 2,                      \
        .switch_type = ICON_SWITCH_TYPE_SET_CUR_ICON,                                                \
    }

#define WARNINGS_MOUSE_CHILDREN                                                                    \
    MOUSE_CHILD_FUNCT(172, 369, 46, 61, CURSOR_HAND, MOUSE_LEFTSINGLE, lamp_test_mouse_cb),          \
    MOUSE_CHILD_FUNCT(53, 375, 76, 43, CURSOR_HAND, MOUSE_LEFTSINGLE, dim_mouse_cb)

namespace {

// Without panel power the lamps vanish.
FAILURE_RECORD warnings_lamp_fail[] = {{FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_NO_DRAW, 0}, {0, 0, 0}};

}  // namespace

/* ---- "Warnings" -------------------------------------------------------------------------- */

namespace {

extern ELEMENT_ICON wn_stall, wn_busbar, wn_gen_left, wn_gen_right, wn_heater, wn_doors, wn_spare, wn_dim;

ELEMENT_HEADER* warnings_background_next[] = {&wn_stall.header, &wn_busbar.header, &wn_gen_left.header,
                                              &wn_gen_right.header, &wn_heater.header, &wn_doors.header,
                                              &wn_spare.header, &wn_dim.header, NULL};
ELEMENT_STATIC_IMAGE warnings_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 8448, .position = {0, 0},
               .next_element = warnings_background_next, .image_flags = WARNINGS_BACKGROUND_FLAGS},
};

ELEMENT_ICON wn_stall = WARNINGS_LAMP(16, 90, 10240, 67, stall_lamp_cb);
ELEMENT_ICON wn_busbar = WARNINGS_LAMP(130, 90, 8960, 753, busbar_lamp_cb);
ELEMENT_ICON wn_gen_left = WARNINGS_LAMP(16, 131, 9472, 390,
                                         (gen_lamp_cb<&left_generator_on, &left_gen_offline, &left_gen_lamp_latched>));
ELEMENT_ICON wn_gen_right = WARNINGS_LAMP(130, 131, 9472, 429,
                                          (gen_lamp_cb<&right_generator_on, &right_gen_offline, &right_gen_lamp_latched>));
ELEMENT_ICON wn_heater = WARNINGS_LAMP(16, 172, 9728, 0, test_only_lamp_cb);
ELEMENT_ICON wn_doors = WARNINGS_LAMP(130, 172, 9216, 471, doors_lamp_cb);
ELEMENT_ICON wn_spare = WARNINGS_LAMP(16, 214, 9984, 0, test_only_lamp_cb);
ELEMENT_ICON wn_dim = WARNINGS_DIM_TOGGLE;

ELEMENT_HEADER* warnings_list[] = {&warnings_background.header, NULL};

MOUSERECT warnings_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43788),
        WARNINGS_MOUSE_CHILDREN,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR warnings_gauge = TARN_GAUGE_HEADER(800, "Warnings", warnings_list, warnings_mouse, NULL, 258);

/* ---- "Warnings_DI" ----------------------------------------------------------------------- */

namespace {

extern ELEMENT_ICON wd_stall, wd_busbar, wd_gen_left, wd_gen_right, wd_heater, wd_doors, wd_airframe_deice,
    wd_prop_deice, wd_dim;

ELEMENT_HEADER* warnings_di_background_next[] = {&wd_stall.header, &wd_busbar.header, &wd_gen_left.header,
                                                 &wd_gen_right.header, &wd_heater.header, &wd_doors.header,
                                                 &wd_airframe_deice.header, &wd_prop_deice.header,
                                                 &wd_dim.header, NULL};
ELEMENT_STATIC_IMAGE warnings_di_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 8449, .position = {0, 0},
               .next_element = warnings_di_background_next, .image_flags = WARNINGS_BACKGROUND_FLAGS},
};

ELEMENT_ICON wd_stall = WARNINGS_LAMP(16, 90, 10240, 67, stall_lamp_cb);
ELEMENT_ICON wd_busbar = WARNINGS_LAMP(130, 90, 8960, 753, busbar_lamp_cb);
ELEMENT_ICON wd_gen_left = WARNINGS_LAMP(16, 131, 9472, 390, (gen_lamp_plain_cb<&left_generator_on, &left_gen_offline>));
ELEMENT_ICON wd_gen_right = WARNINGS_LAMP(130, 131, 9472, 429, (gen_lamp_plain_cb<&right_generator_on, &right_gen_offline>));
ELEMENT_ICON wd_heater = WARNINGS_LAMP(16, 172, 9728, 0, test_only_lamp_cb);
ELEMENT_ICON wd_doors = WARNINGS_LAMP(130, 172, 9216, 471, doors_lamp_cb);
ELEMENT_ICON wd_airframe_deice = WARNINGS_LAMP(16, 214, 10496, 905, deice_lamp_cb);
ELEMENT_ICON wd_prop_deice = WARNINGS_LAMP(130, 214, 12288, 904, deice_lamp_cb);
ELEMENT_ICON wd_dim = WARNINGS_DIM_TOGGLE;

ELEMENT_HEADER* warnings_di_list[] = {&warnings_di_background.header, NULL};

MOUSERECT warnings_di_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 43788),
        WARNINGS_MOUSE_CHILDREN,
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR warnings_di_gauge = TARN_GAUGE_HEADER(800, "Warnings_DI", warnings_di_list, warnings_di_mouse, NULL, 258);
