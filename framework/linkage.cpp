// The generic routines and host-service helpers of a module. Compiled into each module,
// so that each forwards through its own ImportTable and its own first gauge.
#include "framework/linkage.h"

namespace {

void* service(int position) {
    const auto* table = static_cast<const PANEL_SERVICE_TABLE*>(ImportTable.PANELSentry.fnptr);
    return table ? table->service[position] : nullptr;
}

PELEMENT_HEADER first_root() {
    GAUGEHDR* first = Linkage.gauges[0];
    return first && first->elements_list ? first->elements_list[0] : nullptr;
}

void forward(int position) {
    if (auto fn = reinterpret_cast<ELEMENT_LIST_SERVICE>(service(position))) fn(first_root());
}

}  // namespace

extern "C" {

void TARN_CALL module_query(void) { forward(SERVICE_ELEMENT_LIST_QUERY); }

void TARN_CALL module_install(UINT32 resource_handle) {
    if (auto fn = reinterpret_cast<ELEMENT_LIST_INSTALL_SERVICE>(service(SERVICE_ELEMENT_LIST_INSTALL)))
        fn(first_root(), resource_handle);
}

void TARN_CALL module_initialize(void) { forward(SERVICE_ELEMENT_LIST_INITIALIZE); }
void TARN_CALL module_update(void) { forward(SERVICE_ELEMENT_LIST_UPDATE); }

void TARN_CALL module_generate(UINT32 phase) {
    if (auto fn = reinterpret_cast<ELEMENT_LIST_GENERATE_SERVICE>(service(SERVICE_ELEMENT_LIST_GENERATE)))
        fn(first_root(), phase);
}

void TARN_CALL module_draw(void) { forward(SERVICE_ELEMENT_LIST_PLOT); }
void TARN_CALL module_kill(void) { forward(SERVICE_ELEMENT_LIST_KILL); }

void TARN_CALL module_init(void) {}
void TARN_CALL module_deinit(void) {}

void lookup_var(PMODULE_VAR var) {
    if (auto fn = reinterpret_cast<LOOKUP_VAR_SERVICE>(service(SERVICE_LOOKUP_VAR))) fn(var);
}

void trigger_key_event(UINT32 event_id, UINT32 value) {
    if (auto fn = reinterpret_cast<TRIGGER_KEY_EVENT_SERVICE>(service(SERVICE_TRIGGER_KEY_EVENT)))
        fn(event_id, value);
}

}  // extern "C"
