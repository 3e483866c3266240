// Registration placard: "Registration". A plate with one line of text whose registration,
// colour and font come from the gauge's parameter string ("tD_EFGH r255 g255 b0 fQuartz");
// without parameters it reads "N700MS" in white "Arial".
// Reads no simulator variable; reads the header's parameter string. Sends nothing.
#include "instruments/registration_params.h"
#include "instruments/tarn2.h"

namespace {

static_assert(OVERLAY == 0x3);

constexpr UINT32 TEXT_CENTRED = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
static_assert(TEXT_CENTRED == 0x25);

/* ---- callbacks ------------------------------------------------------------------- */

// Once at installation: the colour and font options of the parameter string go into the
// placard's text element (the first child of the root). Nothing happens without
// parameters or without that element.
void registration_setup(PGAUGEHDR gauge) {
    if (gauge == NULL || gauge->parameters == NULL || gauge->parameters[0] == '\0') return;
    if (gauge->elements_list == NULL || gauge->elements_list[0] == NULL) return;
    ELEMENT_HEADER* root = gauge->elements_list[0];
    if (root->next_element == NULL || root->next_element[0] == NULL) return;
    if (root->next_element[0]->element_type != ELEMENT_TYPE_STRING) return;
    auto* text = reinterpret_cast<ELEMENT_STRING*>(root->next_element[0]);
    registration_apply_options(gauge->parameters, &text->fg_color, text->font_face, sizeof text->font_face);
}

void TARN_CALL registration_cb(PGAUGEHDR gauge, SINT32 service_id, UINT32) {
    if (service_id == PANEL_SERVICE_PRE_INSTALL) registration_setup(gauge);
}

// Every update: the registration, cut to the element's characters.
FLOAT64 TARN_CALL registration_text(ELEMENT_STRING* e) {
    if (e->string == NULL || e->string_size == 0) return 0;
    const char* params = e->header.gauge_header != NULL ? e->header.gauge_header->parameters : NULL;
    registration_text_from(params, e->string, e->string_size, e->max_string_length);
    return e->source_var[0].var_value.n;
}

/* ---- "Registration" -------------------------------------------------------------- */

extern ELEMENT_STRING registration_placard;

ELEMENT_HEADER* registration_plate_next[] = {&registration_placard.header, NULL};
ELEMENT_STATIC_IMAGE registration_plate = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 3400, .position = {0, 0},
               .next_element = registration_plate_next, .image_flags = OVERLAY},
};
ELEMENT_STRING registration_placard = {
    .header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1, .position = {0, 0}, .image_flags = OVERLAY},
    .source_var = {{0}, {0}, {0}}, .update_cb = registration_text, .img_size = {150, 25}, .max_string_length = 7,
    .fg_color = 0xffffff, .bg_color = 0x000000, .hilite_color = 0x5c5c5c,
    .font_face = "Arial", .font_weight = 400, .font_charset = 1, .draw_text_flags = TEXT_CENTRED,
    .highlight_list = NULL,
};
ELEMENT_HEADER* registration_list[] = {&registration_plate.header, NULL};

MOUSERECT registration_mouse[] = {
    MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
    MOUSE_PARENT_END,
    MOUSE_END,
};

}  // namespace

GAUGEHDR registration_gauge = TARN_GAUGE_HEADER(700, "Registration", registration_list, registration_mouse, registration_cb, 150);
