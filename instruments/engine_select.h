// The engine selector of the engine instruments: one gauge definition shows engine 1, 2,
// 3 or 4, as the gauge's parameter string says, by moving its simulator-variable tokens
// and key events to that engine's block.
//
//   remap_token("2", 390);        // 429: engine 2's speed
//   remap_event("3", 65927);      // 65939
//   select_engine(gauge);         // at pre-install, on the instance's own records, once
//
// The parameter keys "1", "2", "3", "4" are searched in that order with param_has_key;
// the first one found decides. No parameter string, or "1" found, is engine 1. The rewrite
// adds the offset again each time it runs, so it must run once per set of records.
#ifndef TARN_INSTRUMENTS_ENGINE_SELECT_H
#define TARN_INSTRUMENTS_ENGINE_SELECT_H

#include "framework/gauge.h"

#ifdef __cplusplus
extern "C" {
#endif

// Engine blocks to move by: 0 for engine 1 (also for no parameters or no key found),
// 1 for engine 2, 2 for engine 3, 3 for engine 4.
UINT32 engine_steps(const char* parameters);

// Distance between one engine's variable (or key event) and the next engine's; 0 for
// values outside every per-engine block.
UINT32 token_spacing(UINT32 token);
UINT32 event_spacing(UINT32 event_id);

// The token or key event for the engine that the parameter string selects.
UINT32 remap_token(const char* parameters, UINT32 token);
UINT32 remap_event(const char* parameters, UINT32 event_id);

// Rewrites the gauge's records for the engine of gauge->parameters: first every child
// mouse region's key event (the list walked from its last record to its first), then
// every source token of the element tree. Does nothing for a NULL gauge.
void select_engine(GAUGEHDR* gauge);

#ifdef __cplusplus
}
#endif

#endif
