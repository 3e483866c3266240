// "ArtProbe": a one-gauge module for testing tarn-art's layout check. "Dial" is a 120 px
// face with one needle about its centre, whose table points it at 9 o'clock for 0, at 12
// for 50 and at 3 for 100, so a scale's marks and the needle at rest (0) lie where a
// test manifest expects them.
#include "framework/linkage.h"
#include "platform/win32.h"

static NONLINEARITY dial_table[] = {{{10, 60}, 0, 0}, {{60, 10}, 50, 0}, {{110, 60}, 100, 0}};
static ELEMENT_NEEDLE dial_needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 301, .position = {60, 60}, .ofs = {5, 5}},
    .source_var = {9200}, .nonlinearity = dial_table, .nonlinearity_table_size = 3};
static ELEMENT_HEADER* dial_children[] = {&dial_needle.header, NULL};
static ELEMENT_STATIC_IMAGE dial_background = {
    .header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 300, .next_element = dial_children}};
static ELEMENT_HEADER* dial_list[] = {&dial_background.header, NULL};
static MOUSERECT dial_mouse[] = {MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0), MOUSE_PARENT_END, MOUSE_END};
static GAUGEHDR dial_gauge = TARN_GAUGE_HEADER(700, "Dial", dial_list, dial_mouse, NULL, 100);

extern "C" {
TARN_EXPORT IMPORT_TABLE ImportTable = TARN_IMPORT_TABLE_AS_BUILT;
TARN_EXPORT GAUGESLINKAGE Linkage = {0x13, module_init, module_deinit, 0, 0, 0, {&dial_gauge, NULL}};
}
