// Engine instrument cluster: "Engines", six rows of dials, engine 1 left, engine 2 right.
// Reads 390/429 engine speed (rpm), 391/430 manifold pressure (psf), 425/464 fuel pressure
// (psf), 416/455 oil temperature (Rankine), 418/457 oil pressure (psf), 413/452 exhaust gas
// temperature (Rankine), 415/454 cylinder head temperature (Rankine) and 350, the input of
// both bottom dials. Sends nothing, plays nothing.
//
// Every dial turns its raw value into degrees by a straight line between clamps; the clamps
// test the maximum first, both strictly. The speed and manifold needles record their
// engine's unclamped reading, which the bottom dial of that engine reads one update later
// (the bottom dials come first in the chain).
#include "systems/tarn.h"

// Module variables of this gauge: zero at load, never reset.
static double engine1_rpm = 0.0;            // engine speed as last read, before clamping
static double engine2_rpm = 0.0;
static double engine1_manifold_inhg = 0.0;  // manifold pressure as last read, inHg, before clamping
static double engine2_manifold_inhg = 0.0;
static double bottom_dial_state[2] = {0.0, 0.0};  // last filter output per engine (index 0: engine 1)

/* ---- callbacks --------------------------------------------------------------------- */

static double clamp_max_first(double x, double min, double max) {
    if (x > max) return max;
    if (x < min) return min;
    return x;
}

// Degrees Celsius from degrees Rankine, with the dials' own factor (not 5/9).
static double celsius(double rankine) { return rankine * 0.555577789 - 273.1555778; }

template <double* recorded_rpm>
static FLOAT64 TARN_CALL Engines_rpm_cb(ELEMENT_NEEDLE* needle) {
    const double v = needle->source_var.var_value.n;
    *recorded_rpm = v;
    return 0.072 * clamp_max_first(v, 0.0, 3100.0) - 108.0;
}

template <double* recorded_inhg>
static FLOAT64 TARN_CALL Engines_manifold_cb(ELEMENT_NEEDLE* needle) {
    const double x = needle->source_var.var_value.n / 70.72;
    *recorded_inhg = x;
    return 5.625 * clamp_max_first(x, 8.0, 52.0) - 168.75;
}

static FLOAT64 TARN_CALL Engines_fuel_press_cb(ELEMENT_NEEDLE* needle) {
    const double x = needle->source_var.var_value.n / 576.0;
    return 30.0 * clamp_max_first(x, 0.0, 8.5) - 120.0;
}

static FLOAT64 TARN_CALL Engines_oil_temp_cb(ELEMENT_NEEDLE* needle) {
    const double x = celsius(needle->source_var.var_value.n);
    return clamp_max_first(x, 0.0, 150.0) - 165.0;
}

static FLOAT64 TARN_CALL Engines_oil_press_cb(ELEMENT_NEEDLE* needle) {
    const double x = needle->source_var.var_value.n / 144.0;
    return -1.25 * clamp_max_first(x, 0.0, 120.0) + 165.0;
}

static FLOAT64 TARN_CALL Engines_egt_cb(ELEMENT_NEEDLE* needle) {
    const double x = celsius(needle->source_var.var_value.n);
    return 0.25 * clamp_max_first(x, 400.0, 1000.0) - 175.0;
}

static FLOAT64 TARN_CALL Engines_cht_cb(ELEMENT_NEEDLE* needle) {
    const double x = celsius(needle->source_var.var_value.n);
    return -0.75 * clamp_max_first(x, 100.0, 300.0) + 172.5;
}

// Above 500 rpm the dial moves 2 % of the way to its target each update; at or below it
// follows the scaled input, from which the filter starts again when the engine speeds up.
// (Keyed on the engine's index: a pointer to an array element is not a template argument
// every compiler takes.)
template <double* recorded_rpm, double* recorded_inhg, int engine>
static FLOAT64 TARN_CALL Engines_bottom_cb(ELEMENT_NEEDLE* needle) {
    double* const state = &bottom_dial_state[engine];
    double x = needle->source_var.var_value.n * 256.0;
    if (*recorded_rpm > 500.0) {
        x = x - 2.0 * *recorded_inhg / 3.0;
        x = *state - 0.02 * (*state - x);
    }
    *state = x;
    return 3.0 * clamp_max_first(x, -40.0, 40.0);
}

/* ---- "Engines" ----------------------------------------------------------------------- */

#define ENGINES_DIAL_FLAGS (IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_LUMINOUS)  // 0x4003

namespace {

// The chain, defined below in drawing order.
extern ELEMENT_NEEDLE engine2_bottom, engine1_bottom, engine2_cht, engine1_cht, engine2_egt, engine1_egt,
    engine2_oil_press, engine1_oil_press, engine2_oil_temp, engine1_oil_temp, engine2_fuel_press,
    engine1_fuel_press, engine2_manifold, engine1_manifold, engine2_rpm_needle, engine1_rpm_needle;
extern ELEMENT_STATIC_IMAGE engines_hub_left, engines_hub_right;

FAILURE_RECORD engines_fail[] = {{FAIL_SYSTEM_ELECTRICAL_PANELS, FAIL_ACTION_ZERO, 0}, {0, 0, 0}};

ELEMENT_HEADER* engines_background_next[] = {&engine2_bottom.header, NULL};
ELEMENT_STATIC_IMAGE engines_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x3800, .position = {0, 0},
               .next_element = engines_background_next, .failure_systems = engines_fail,
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_LUMINOUS},  // 0x4001
};

ELEMENT_HEADER* engine2_bottom_next[] = {&engine1_bottom.header, NULL};
ELEMENT_NEEDLE engine2_bottom = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {280, 1025}, .ofs = {4, 71},
               .next_element = engine2_bottom_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {350},
    .update_cb = Engines_bottom_cb<&engine2_rpm, &engine2_manifold_inhg, 1>,
    .max_degrees_per_second = 1,
};

ELEMENT_HEADER* engine1_bottom_next[] = {&engine2_cht.header, NULL};
ELEMENT_NEEDLE engine1_bottom = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {90, 1025}, .ofs = {4, 71},
               .next_element = engine1_bottom_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {350},
    .update_cb = Engines_bottom_cb<&engine1_rpm, &engine1_manifold_inhg, 0>,
    .max_degrees_per_second = 1,
};

ELEMENT_HEADER* engine2_cht_next[] = {&engine1_cht.header, NULL};
ELEMENT_NEEDLE engine2_cht = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {300, 837}, .ofs = {4, 49},
               .next_element = engine2_cht_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {454},
    .update_cb = Engines_cht_cb,
};

ELEMENT_HEADER* engine1_cht_next[] = {&engine2_egt.header, NULL};
ELEMENT_NEEDLE engine1_cht = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3901, .position = {110, 837}, .ofs = {4, 49},
               .next_element = engine1_cht_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {415},
    .update_cb = Engines_cht_cb,
};

ELEMENT_HEADER* engine2_egt_next[] = {&engine1_egt.header, NULL};
ELEMENT_NEEDLE engine2_egt = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {260, 837}, .ofs = {4, 49},
               .next_element = engine2_egt_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {452},
    .update_cb = Engines_egt_cb,
};

ELEMENT_HEADER* engine1_egt_next[] = {&engine2_oil_press.header, NULL};
ELEMENT_NEEDLE engine1_egt = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3901, .position = {70, 837}, .ofs = {4, 49},
               .next_element = engine1_egt_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {413},
    .update_cb = Engines_egt_cb,
};

ELEMENT_HEADER* engine2_oil_press_next[] = {&engine1_oil_press.header, NULL};
ELEMENT_NEEDLE engine2_oil_press = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {300, 651}, .ofs = {4, 49},
               .next_element = engine2_oil_press_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {457},
    .update_cb = Engines_oil_press_cb,
};

ELEMENT_HEADER* engine1_oil_press_next[] = {&engine2_oil_temp.header, NULL};
ELEMENT_NEEDLE engine1_oil_press = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3901, .position = {110, 651}, .ofs = {4, 49},
               .next_element = engine1_oil_press_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {418},
    .update_cb = Engines_oil_press_cb,
};

ELEMENT_HEADER* engine2_oil_temp_next[] = {&engine1_oil_temp.header, NULL};
ELEMENT_NEEDLE engine2_oil_temp = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {260, 651}, .ofs = {4, 49},
               .next_element = engine2_oil_temp_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {455},
    .update_cb = Engines_oil_temp_cb,
};

ELEMENT_HEADER* engine1_oil_temp_next[] = {&engine2_fuel_press.header, NULL};
ELEMENT_NEEDLE engine1_oil_temp = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3901, .position = {70, 651}, .ofs = {4, 49},
               .next_element = engine1_oil_temp_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {416},
    .update_cb = Engines_oil_temp_cb,
};

ELEMENT_HEADER* engine2_fuel_press_next[] = {&engine1_fuel_press.header, NULL};
ELEMENT_NEEDLE engine2_fuel_press = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {280, 464}, .ofs = {4, 71},
               .next_element = engine2_fuel_press_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {464},
    .update_cb = Engines_fuel_press_cb,
};

ELEMENT_HEADER* engine1_fuel_press_next[] = {&engine2_manifold.header, NULL};
ELEMENT_NEEDLE engine1_fuel_press = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {90, 464}, .ofs = {4, 71},
               .next_element = engine1_fuel_press_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {425},
    .update_cb = Engines_fuel_press_cb,
};

ELEMENT_HEADER* engine2_manifold_next[] = {&engine1_manifold.header, NULL};
ELEMENT_NEEDLE engine2_manifold = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {280, 276}, .ofs = {4, 71},
               .next_element = engine2_manifold_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {430},
    .update_cb = Engines_manifold_cb<&engine2_manifold_inhg>,
};

ELEMENT_HEADER* engine1_manifold_next[] = {&engine2_rpm_needle.header, NULL};
ELEMENT_NEEDLE engine1_manifold = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {90, 276}, .ofs = {4, 71},
               .next_element = engine1_manifold_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {391},
    .update_cb = Engines_manifold_cb<&engine1_manifold_inhg>,
};

ELEMENT_HEADER* engine2_rpm_next[] = {&engine1_rpm_needle.header, NULL};
ELEMENT_NEEDLE engine2_rpm_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {280, 90}, .ofs = {4, 71},
               .next_element = engine2_rpm_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {429},
    .update_cb = Engines_rpm_cb<&engine2_rpm>,
};

// The last needle carries both hub strips, so they lie over every needle.
ELEMENT_HEADER* engine1_rpm_next[] = {&engines_hub_left.header, &engines_hub_right.header, NULL};
ELEMENT_NEEDLE engine1_rpm_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 0x3900, .position = {90, 90}, .ofs = {4, 71},
               .next_element = engine1_rpm_next, .failure_systems = engines_fail, .image_flags = ENGINES_DIAL_FLAGS},
    .source_var = {390},
    .update_cb = Engines_rpm_cb<&engine1_rpm>,
};

ELEMENT_STATIC_IMAGE engines_hub_left = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x4000, .position = {65, 65},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},  // 0x3
};
ELEMENT_STATIC_IMAGE engines_hub_right = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 0x4000, .position = {255, 65},
               .image_flags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE},  // 0x3
};

ELEMENT_HEADER* engines_list[] = {&engines_background.header, NULL};

// No mouse actions: an empty parent without a help id.
MOUSERECT engines_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR engines_gauge = TARN_GAUGE_HEADER(800, "Engines", engines_list, engines_mouse, NULL, 370);
