// The element model that every gauge is declared in: gauge header, the seven element
// kinds, source variables, nonlinearity tables, failure lists and mouse rectangles.
//
//   static MODULE_VAR v = {390};                       // the gauge sets the token only
//   static ELEMENT_NEEDLE n = {.header = {...}, .source_var = {390}, .update_cb = rpm_cb};
//   static ELEMENT_HEADER* root_list[] = {&background.header, NULL};
//
// Records are plain C aggregates, initialised as static data of a module. Fields marked
// "host" are the host's runtime fields: they start as zero and the gauge never sets them.
// Every element record begins with an ELEMENT_HEADER, so a pointer to any element is a
// pointer to its header.
//
// Sections: basic types | source variables | failure lists | nonlinearity | elements |
//           mouse rectangles | gauge header | service codes
#ifndef TARN_FRAMEWORK_GAUGE_H
#define TARN_FRAMEWORK_GAUGE_H

#include "platform/win32.h"

#ifdef __cplusplus
extern "C" {
#endif

// The calling convention of everything that crosses the host boundary: stdcall on Windows.
#if defined(_WIN32)
#define TARN_CALL __stdcall
#else
#define TARN_CALL
#endif

typedef uint32_t FLAGS32;
typedef int32_t SINT32;
typedef uint32_t UINT32;
typedef double FLOAT64;
typedef float FLOAT32;

/* ---- basic types ----------------------------------------------------------------- */

typedef struct PIXPOINT {
    SINT32 x;
    SINT32 y;
} PIXPOINT, *PPIXPOINT;

typedef struct PIXBOX {
    SINT32 x;
    SINT32 y;
    SINT32 width;
    SINT32 height;
} PIXBOX;

struct GAUGEHDR;
struct ELEMENT_HEADER;

/* ---- source variables ------------------------------------------------------------ */

// A simulator variable's value: a 64-bit float for numeric tokens, an integer or
// boolean in the low 32 bits for others, or the address of a zero-terminated text.
typedef union VAR_VALUE {
    FLOAT64 n;
    SINT32 d;
    BOOL b;
    const char* p;
} VAR_VALUE;

// The kind of value a token delivers, as the host keeps it.
enum VAR_KIND { VAR_KIND_FLOAT64 = 0, VAR_KIND_INT32 = 1, VAR_KIND_TEXT = 2 };

typedef struct MODULE_VAR {
    UINT32 id;            // token id; 0 = none
    void* var_ptr;        // host
    UINT32 var_type;      // host: VAR_KIND of the token
    VAR_VALUE var_value;  // host: current value
    VAR_VALUE var_old;    // host: value before the latest refresh
} MODULE_VAR, *PMODULE_VAR;

/* ---- failure lists --------------------------------------------------------------- */

enum FAILURE_KEY {
    FAIL_NONE = 0,
    FAIL_SYSTEM_ENGINE = 2,
    FAIL_SYSTEM_PITOT_STATIC = 3,
    FAIL_SYSTEM_VACUUM = 4,
    FAIL_GAUGE_ADF = 5,
    FAIL_GAUGE_AIRSPEED = 6,
    FAIL_GAUGE_ALTIMETER = 7,
    FAIL_GAUGE_ATTITUDE = 8,
    FAIL_GAUGE_FUEL_INDICATORS = 10,
    FAIL_GAUGE_GYRO_HEADING = 11,
    FAIL_GAUGE_MAGNETIC_COMPASS = 12,
    FAIL_GAUGE_NAVIGATION_VOR1 = 14,
    FAIL_GAUGE_NAVIGATION_VOR2 = 15,
    FAIL_GAUGE_TURN_COORDINATOR = 18,
    FAIL_GAUGE_VERTICAL_SPEED = 19,
    FAIL_SYSTEM_ELECTRICAL_PANELS = 20,
    FAIL_SYSTEM_ELECTRICAL_AVIONICS = 21,
};

enum FAILURE_ACTION {
    FAIL_ACTION_NONE = 0,    // listed only
    FAIL_ACTION_FREEZE = 1,  // the source value stays as it was
    FAIL_ACTION_ZERO = 2,    // the callback sees zero
    FAIL_ACTION_NO_DRAW = 3, // the element is not drawn
};

typedef struct FAILURE_RECORD {
    UINT32 key;      // FAILURE_KEY; 0 ends the list
    UINT32 action;   // FAILURE_ACTION
    UINT32 reserved; // 0
} FAILURE_RECORD;

/* ---- nonlinearity tables --------------------------------------------------------- */

// One table entry: a value and the point of the background bitmap where the needle
// points for it. The host derives the angle about the needle pivot at installation.
typedef struct NONLINEARITY {
    PIXPOINT pt;
    FLOAT64 value;
    FLOAT64 degrees;  // host
} NONLINEARITY;

/* ---- elements -------------------------------------------------------------------- */

enum ELEMENT_KIND {
    ELEMENT_TYPE_STATIC_IMAGE = 0,
    ELEMENT_TYPE_NEEDLE = 1,
    ELEMENT_TYPE_STRING = 2,
    ELEMENT_TYPE_SLIDER = 3,
    ELEMENT_TYPE_ICON = 4,
    ELEMENT_TYPE_MOVING_IMAGE = 5,
    ELEMENT_TYPE_SPRITE = 6,
};

// Image flags.
#define IMAGE_USE_TRANSPARENCY 0x00000001u
#define IMAGE_USE_ERASE 0x00000002u
#define IMAGE_USE_BRIGHT 0x00000004u
#define IMAGE_NO_STATIC_BLENDING 0x00000010u
#define IMAGE_BILINEAR_COLOR 0x00000080u
#define IMAGE_USE_LUMINOUS 0x00004000u
#define IMAGE_HIDDEN 0x40000000u

typedef struct ELEMENT_HEADER {
    UINT32 element_type;                     // ELEMENT_KIND (ELEMENT_TYPE_*)
    SINT32 resource_id;                      // bitmap id; -1 for texts; icons: first frame
    PIXPOINT position;                       // top-left; a needle's pivot on the background
    PIXPOINT ofs;                            // needle: pivot in its bitmap; sprite: texture centre
    struct GAUGEHDR* gauge_header;           // host: the instance's own header
    struct ELEMENT_HEADER* previous_element; // host
    struct ELEMENT_HEADER** next_element;    // child list, NULL-terminated, or NULL
    FAILURE_RECORD* failure_systems;         // ends with key 0, or NULL
    FLAGS32 image_flags;                     // IMAGE_*; callbacks may toggle IMAGE_HIDDEN
    UINT32 aircraft_special_instrumentation; // 0, or 2 on one HSI needle
    UINT32 reserved;
} ELEMENT_HEADER, *PELEMENT_HEADER;

struct ELEMENT_NEEDLE;
struct ELEMENT_STRING;
struct ELEMENT_SLIDER;
struct ELEMENT_ICON;
struct ELEMENT_MOVING_IMAGE;
struct ELEMENT_SPRITE;

// Update callbacks. Called by the host on its panel thread on every update of the
// gauge, after the element's source variables were refreshed. May read the element,
// module state and host variables, send key events, change module state and toggle
// IMAGE_HIDDEN of its own element. Returns the element's value for that axis.
typedef FLOAT64 (TARN_CALL *NEEDLE_UPDATE_CALLBACK)(struct ELEMENT_NEEDLE* element);
typedef FLOAT64 (TARN_CALL *STRING_UPDATE_CALLBACK)(struct ELEMENT_STRING* element);
typedef FLOAT64 (TARN_CALL *SLIDER_UPDATE_CALLBACK)(struct ELEMENT_SLIDER* element);
typedef FLOAT64 (TARN_CALL *ICON_UPDATE_CALLBACK)(struct ELEMENT_ICON* element);
typedef FLOAT64 (TARN_CALL *MOVING_IMAGE_UPDATE_CALLBACK)(struct ELEMENT_MOVING_IMAGE* element);
typedef FLOAT64 (TARN_CALL *SPRITE_UPDATE_CALLBACK)(struct ELEMENT_SPRITE* element);

typedef struct ELEMENT_STATIC_IMAGE {
    ELEMENT_HEADER header;
} ELEMENT_STATIC_IMAGE;

// With a table the value is mapped to a direction; without one it is the needle
// angle in degrees, 0 as drawn in the bitmap, positive clockwise on screen.
typedef struct ELEMENT_NEEDLE {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    NEEDLE_UPDATE_CALLBACK update_cb;
    NONLINEARITY* nonlinearity;
    UINT32 nonlinearity_table_size;
    FLOAT64 max_degrees_per_second;  // 0 = unlimited
} ELEMENT_NEEDLE;

// DrawText flags that the text elements use (the system's own where its headers have them).
#ifndef DT_CENTER
#define DT_CENTER 0x00000001u
#define DT_VCENTER 0x00000004u
#define DT_SINGLELINE 0x00000020u
#endif

typedef struct ELEMENT_STRING {
    ELEMENT_HEADER header;
    MODULE_VAR source_var[3];
    STRING_UPDATE_CALLBACK update_cb;
    PIXPOINT img_size;               // text box, pixels
    UINT32 max_string_length;        // characters the gauge means to show
    COLORREF fg_color;               // 0x00BBGGRR
    COLORREF bg_color;
    COLORREF hilite_color;
    char font_face[32];
    SINT32 font_weight;
    UINT32 font_charset;
    UINT32 draw_text_flags;          // DT_*
    const SINT32* highlight_list;    // as stored, or NULL
    char* string;                    // host: the text buffer the callback writes
    UINT32 string_size;              // host: bytes in that buffer, terminating zero included
} ELEMENT_STRING;

typedef struct ELEMENT_SLIDER {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    FLOAT64 scale_x;
    SLIDER_UPDATE_CALLBACK update_x_cb;
    MODULE_VAR source_var_y;
    FLOAT64 scale_y;
    SLIDER_UPDATE_CALLBACK update_y_cb;
} ELEMENT_SLIDER;

// Icon switch types.
#define ICON_SWITCH_TYPE_SET_CUR_ICON 0
#define ICON_SWITCH_TYPE_STEP_TO 3

typedef struct ELEMENT_ICON {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    ICON_UPDATE_CALLBACK update_cb;
    UINT32 picture_count;
    UINT32 switch_type;
    FLOAT64 scale;
    SINT32 offset;
} ELEMENT_ICON;

typedef struct ELEMENT_MOVING_IMAGE {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    FLOAT64 min_x;
    FLOAT64 max_x;
    MOVING_IMAGE_UPDATE_CALLBACK update_x_cb;
    MODULE_VAR source_var_y;
    FLOAT64 min_y;
    FLOAT64 max_y;
    MOVING_IMAGE_UPDATE_CALLBACK update_y_cb;
} ELEMENT_MOVING_IMAGE;

typedef struct ELEMENT_SPRITE {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    FLOAT64 scale_x;
    SPRITE_UPDATE_CALLBACK update_x_cb;
    MODULE_VAR source_var_y;
    FLOAT64 scale_y;
    SPRITE_UPDATE_CALLBACK update_y_cb;
    MODULE_VAR source_var_0;         // rotation
    FLOAT64 scale_0;
    SPRITE_UPDATE_CALLBACK update_0_cb;
    FLOAT32 texture_scale_x;
    FLOAT32 texture_scale_y;
} ELEMENT_SPRITE;

/* ---- mouse rectangles ------------------------------------------------------------ */

enum MOUSE_RECT_TYPE {
    MOUSE_RECT_EOL = 0,     // end of list
    MOUSE_RECT_PARENT = 1,
    MOUSE_RECT_CHILD = 2,
    MOUSE_RECT_END_PARENT = 3,
};

enum CURSOR_TYPE {
    CURSOR_NONE = -1,
    CURSOR_UPARROW = 1,
    CURSOR_DOWNARROW = 2,
    CURSOR_HAND = 5,
};

// Mouse event flags.
#define MOUSE_LEFTSINGLE 0x20000000u
#define MOUSE_DOWN_REPEAT 0x00200000u
#define MOUSE_LEFTDRAG 0x00800000u

// Mouse callback. Called by the host on its panel thread when a mouse event named in
// the child's flags happens: the point is relative to the child box (it may lie outside
// the box during a drag), the flags are the event's own (MOUSE_DOWN_REPEAT set while
// the button is held). May change module state, send key events and play sounds.
typedef BOOL (TARN_CALL *MOUSE_FUNCTION)(PPIXPOINT relative_point, FLAGS32 mouse_flags);

typedef struct MOUSERECT {
    UINT32 rect_type;       // MOUSE_RECT_TYPE
    PIXBOX relative_box;    // relative to the enclosing parent; (0,0,0,0): whole gauge
    SINT32 cursor;          // CURSOR_TYPE
    SINT32 help_id;         // parents: host help string number, or 0
    FLAGS32 mouse_flags;    // children: MOUSE_*
    UINT32 event_id;        // children: key event sent by the host, or 0
    MOUSE_FUNCTION mouse_function;  // children: callback, or NULL
    void* api_data;
} MOUSERECT, *PMOUSERECT;

#define MOUSE_PARENT_BEGIN(x, y, w, h, help) {MOUSE_RECT_PARENT, {x, y, w, h}, CURSOR_NONE, help, 0, 0, NULL, NULL}
#define MOUSE_PARENT(x, y, w, h, help) MOUSE_PARENT_BEGIN(x, y, w, h, help)
#define MOUSE_PARENT_END {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, NULL, NULL}
#define MOUSE_CHILD_EVENT(x, y, w, h, cursor, flags, event) \
    {MOUSE_RECT_CHILD, {x, y, w, h}, cursor, 0, flags, event, NULL, NULL}
#define MOUSE_CHILD_FUNCT(x, y, w, h, cursor, flags, fn) \
    {MOUSE_RECT_CHILD, {x, y, w, h}, cursor, 0, flags, 0, fn, NULL}
#define MOUSE_END {MOUSE_RECT_EOL, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, NULL, NULL}

/* ---- gauge header ---------------------------------------------------------------- */

// Generic routines: each module has one set, shared by all of its gauges.
typedef void (TARN_CALL *QUERY_ROUTINE)(void);
typedef void (TARN_CALL *INSTALL_ROUTINE)(UINT32 resource_handle);
typedef void (TARN_CALL *INITIALIZE_ROUTINE)(void);
typedef void (TARN_CALL *UPDATE_ROUTINE)(void);
typedef void (TARN_CALL *GENERATE_ROUTINE)(UINT32 phase);
typedef void (TARN_CALL *DRAW_ROUTINE)(void);
typedef void (TARN_CALL *KILL_ROUTINE)(void);

// Gauge callback. Called by the host on its panel thread at the lifecycle points named
// by the service code (PANEL_SERVICE_*); the extra datum is the module's resource
// handle for PRE_INSTALL and unused otherwise. May change module state.
typedef void (TARN_CALL *GAUGE_CALLBACK)(struct GAUGEHDR* gauge, SINT32 service_id, UINT32 extra_data);

#define GAUGE_HEADER_VERSION_700 700
#define GAUGE_HEADER_VERSION_800 800

typedef struct GAUGEHDR {
    UINT32 gauge_header_version;
    const char* gauge_name;
    ELEMENT_HEADER** elements_list;   // one root element, then NULL
    QUERY_ROUTINE query_routine;
    INSTALL_ROUTINE install_routine;
    INITIALIZE_ROUTINE initialize_routine;
    UPDATE_ROUTINE update_routine;
    GENERATE_ROUTINE generate_routine;
    DRAW_ROUTINE draw_routine;
    KILL_ROUTINE kill_routine;
    void* reserved1;
    UINT32 size_x_mm;                 // default width in panel units
    UINT32 size_y_mm;
    FLOAT32 x_adjust;
    FLOAT32 y_adjust;
    void* reserved2;
    void* reserved3;
    PIXPOINT position;
    void* reserved4;
    MOUSERECT* mouse_rect;
    GAUGE_CALLBACK gauge_callback;    // NULL, or called at the PANEL_SERVICE_* points
    UINT32 user_data;
    const char* parameters;           // the instance's parameter string, set by the host
    const char* usage;
    SINT32 reserved5;
    void* reserved6;
    PIXPOINT size;                    // host: the instance's size in pixels
    FLOAT64 user_area[10];
    FLAGS32 flags;
} GAUGEHDR, *PGAUGEHDR;

/* ---- service codes --------------------------------------------------------------- */

#define PANEL_SERVICE_PRE_INSTALL 2
#define PANEL_SERVICE_PRE_UPDATE 6
#define PANEL_SERVICE_PRE_KILL 12
#define PANEL_SERVICE_CONNECT_TO_WINDOW 14

#ifdef __cplusplus
}
#endif

#endif
