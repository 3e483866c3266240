// How a module presents itself to the host: the exported ImportTable and Linkage, the
// seven generic routines that every gauge header points to, and the two host services
// that gauge code calls directly.
//
//   extern "C" TARN_EXPORT IMPORT_TABLE ImportTable = TARN_IMPORT_TABLE_AS_BUILT;
//   extern "C" TARN_EXPORT GAUGESLINKAGE Linkage = {0x13, module_init, module_deinit, 0, 0, 0x800, {&a, &b, NULL}};
//   static GAUGEHDR hdr = TARN_GAUGE_HEADER(800, "Flaps", flaps_list, flaps_mouse, NULL, 69);
//   trigger_key_event(66241, 0);
//
// Every host call reads the service table's address from ImportTable entry 0 at the
// moment of the call, so a host may fill it at any time before the first gauge call.
#ifndef TARN_FRAMEWORK_LINKAGE_H
#define TARN_FRAMEWORK_LINKAGE_H

#include "framework/gauge.h"

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define TARN_EXPORT __declspec(dllexport)
#else
#define TARN_EXPORT __attribute__((visibility("default")))
#endif

typedef struct IMPORT_ENTRY {
    UINT32 fnID;
    void* fnptr;
} IMPORT_ENTRY;

typedef struct IMPORT_TABLE {
    IMPORT_ENTRY PANELSentry;  // id 0x0000000F; the host writes its service table here
    IMPORT_ENTRY nullentry;    // id 0; end of the list
} IMPORT_TABLE;

#define TARN_IMPORT_TABLE_AS_BUILT {{0x0000000F, NULL}, {0x00000000, NULL}}

typedef void (TARN_CALL *MODULE_INIT_ROUTINE)(void);
typedef void (TARN_CALL *MODULE_DEINIT_ROUTINE)(void);

#define TARN_MAX_GAUGES 255

typedef struct GAUGESLINKAGE {
    UINT32 ModuleID;
    MODULE_INIT_ROUTINE ModuleInit;
    MODULE_DEINIT_ROUTINE ModuleDeinit;
    FLAGS32 ModuleFlags;
    UINT32 ModulePriority;
    UINT32 ModuleVersion;
    GAUGEHDR* gauges[TARN_MAX_GAUGES + 1];  // in Linkage order, then NULL
} GAUGESLINKAGE;

// Positions in the host's service table (an array of code pointers).
#define PANEL_SERVICE_COUNT 60
#define SERVICE_ELEMENT_LIST_QUERY 24
#define SERVICE_ELEMENT_LIST_INSTALL 25
#define SERVICE_ELEMENT_LIST_INITIALIZE 26
#define SERVICE_ELEMENT_LIST_UPDATE 27
#define SERVICE_ELEMENT_LIST_GENERATE 28
#define SERVICE_ELEMENT_LIST_PLOT 29
#define SERVICE_ELEMENT_LIST_ERASE 30
#define SERVICE_ELEMENT_LIST_KILL 31
#define SERVICE_TRIGGER_KEY_EVENT 36
#define SERVICE_LOOKUP_VAR 40

// Signatures of the services, as the host provides them.
typedef void (TARN_CALL *ELEMENT_LIST_SERVICE)(PELEMENT_HEADER root);
typedef void (TARN_CALL *ELEMENT_LIST_INSTALL_SERVICE)(PELEMENT_HEADER root, UINT32 resource_handle);
typedef void (TARN_CALL *ELEMENT_LIST_GENERATE_SERVICE)(PELEMENT_HEADER root, UINT32 phase);
typedef BOOL (TARN_CALL *TRIGGER_KEY_EVENT_SERVICE)(UINT32 event_id, UINT32 value);
typedef void (TARN_CALL *LOOKUP_VAR_SERVICE)(PMODULE_VAR var);

typedef struct PANEL_SERVICE_TABLE {
    void* service[PANEL_SERVICE_COUNT];
} PANEL_SERVICE_TABLE;

// The module's exports, defined in each module's module.cpp.
extern TARN_EXPORT IMPORT_TABLE ImportTable;
extern TARN_EXPORT GAUGESLINKAGE Linkage;

// The seven generic routines: each forwards to its service with the root element of the
// module's first gauge in Linkage.
void TARN_CALL module_query(void);
void TARN_CALL module_install(UINT32 resource_handle);
void TARN_CALL module_initialize(void);
void TARN_CALL module_update(void);
void TARN_CALL module_generate(UINT32 phase);
void TARN_CALL module_draw(void);
void TARN_CALL module_kill(void);

// Module init and deinit: nothing to do.
void TARN_CALL module_init(void);
void TARN_CALL module_deinit(void);

// Host services called by gauge code. Both do nothing while the host has not yet
// filled ImportTable entry 0.
void lookup_var(PMODULE_VAR var);
void trigger_key_event(UINT32 event_id, UINT32 value);

// A header as every gauge of these modules fills it: the module's generic routines in
// the seven slots, everything not named zero. Further designated fields that follow
// gauge_callback in the record may be added at the end (".parameters = radio_alt_parameters,").
#define TARN_GAUGE_HEADER(version, name, root_list, mouse_list, callback, width_mm, ...) \
    {                                                                              \
        .gauge_header_version = (version),                                         \
        .gauge_name = (name),                                                      \
        .elements_list = (root_list),                                              \
        .query_routine = module_query,                                             \
        .install_routine = module_install,                                         \
        .initialize_routine = module_initialize,                                   \
        .update_routine = module_update,                                           \
        .generate_routine = module_generate,                                       \
        .draw_routine = module_draw,                                               \
        .kill_routine = module_kill,                                               \
        .size_x_mm = (width_mm),                                                   \
        .mouse_rect = (mouse_list),                                                \
        .gauge_callback = (callback),                                              \
        __VA_ARGS__                                                                \
    }

#ifdef __cplusplus
}
#endif

#endif
