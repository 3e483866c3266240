// Compile check: the element model and the linkage compile after the full set of Windows
// headers (nothing trimmed), and a callback written without the calling convention is
// refused where a record expects one.
//
//   i686-w64-mingw32-g++ -std=c++20 -Wall -Wextra -I. -fsyntax-only cmake/windows/headers_check.cpp
#include <windows.h>

#include "framework/gauge.h"
#include "framework/linkage.h"

#include <type_traits>

// The records name only the fields they use, as the modules' own do.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Written as callbacks would be if the convention were forgotten (declared only).
namespace forgotten {
FLOAT64 plain_needle_cb(ELEMENT_NEEDLE*);
BOOL plain_click_cb(PPIXPOINT, FLAGS32);
void plain_gauge_cb(PGAUGEHDR, SINT32, UINT32);
void plain_init(void);
}  // namespace forgotten

namespace {

FLOAT64 TARN_CALL needle_cb(ELEMENT_NEEDLE* needle) { return needle->source_var.var_value.n; }
FLOAT64 TARN_CALL icon_cb(ELEMENT_ICON* icon) { return FLOAT64(icon->source_var.var_value.d); }
BOOL TARN_CALL click_cb(PPIXPOINT, FLAGS32) { return TRUE; }
void TARN_CALL gauge_cb(PGAUGEHDR, SINT32, UINT32) {}

#if defined(_WIN32) && defined(__i386__)
static_assert(!std::is_convertible_v<decltype(&forgotten::plain_needle_cb), NEEDLE_UPDATE_CALLBACK>,
              "an update callback without TARN_CALL must not fit a record");
static_assert(!std::is_convertible_v<decltype(&forgotten::plain_click_cb), MOUSE_FUNCTION>,
              "a mouse callback without TARN_CALL must not fit a record");
static_assert(!std::is_convertible_v<decltype(&forgotten::plain_gauge_cb), GAUGE_CALLBACK>,
              "a gauge callback without TARN_CALL must not fit a header");
static_assert(!std::is_convertible_v<decltype(&forgotten::plain_init), MODULE_INIT_ROUTINE>,
              "module init without TARN_CALL must not fit the linkage");
#endif
static_assert(std::is_convertible_v<decltype(&needle_cb), NEEDLE_UPDATE_CALLBACK>);
static_assert(std::is_convertible_v<decltype(&icon_cb), ICON_UPDATE_CALLBACK>);
static_assert(std::is_convertible_v<decltype(&click_cb), MOUSE_FUNCTION>);
static_assert(std::is_convertible_v<decltype(&gauge_cb), GAUGE_CALLBACK>);
static_assert(std::is_convertible_v<decltype(&module_install), INSTALL_ROUTINE>);
static_assert(std::is_convertible_v<decltype(&module_init), MODULE_INIT_ROUTINE>);

// The enumerators keep their names next to the system's own ELEMENT_TYPE.
static_assert(ELEMENT_TYPE_NEEDLE == 1 && ELEMENT_TYPE_SPRITE == 6);
[[maybe_unused]] constexpr ELEMENT_TYPE system_element_type = AllElements;

ELEMENT_STATIC_IMAGE background = {.header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE, .resource_id = 1}};
ELEMENT_HEADER* needle_next[] = {&background.header, NULL};
ELEMENT_NEEDLE needle = {
    .header = {.element_type = ELEMENT_TYPE_NEEDLE, .resource_id = 2, .next_element = needle_next},
    .source_var = {390},
    .update_cb = needle_cb,
};
ELEMENT_HEADER* lamp_next[] = {&needle.header, NULL};
ELEMENT_ICON lamp = {
    .header = {.element_type = ELEMENT_TYPE_ICON, .resource_id = 3, .next_element = lamp_next},
    .source_var = {},
    .update_cb = icon_cb,
    .picture_count = 2,
};
ELEMENT_HEADER* root_list[] = {&lamp.header, NULL};
MOUSERECT mouse_list[] = {
    MOUSE_PARENT_BEGIN(0, 0, 100, 100, 0),
    MOUSE_CHILD_FUNCT(10, 10, 20, 20, CURSOR_HAND, MOUSE_LEFTSINGLE, click_cb),
    MOUSE_CHILD_EVENT(40, 10, 20, 20, CURSOR_HAND, MOUSE_LEFTSINGLE, 65560),
    MOUSE_PARENT_END,
    MOUSE_END,
};
GAUGEHDR header = TARN_GAUGE_HEADER(GAUGE_HEADER_VERSION_800, "Check", root_list, mouse_list, gauge_cb, 50);

}  // namespace

TARN_EXPORT IMPORT_TABLE ImportTable = TARN_IMPORT_TABLE_AS_BUILT;
TARN_EXPORT GAUGESLINKAGE Linkage = {0x13, module_init, module_deinit, 0, 0, 0x800, {&header, NULL}};
