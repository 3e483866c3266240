// What the platform layer's own sources share; neither the host nor the modules see it.
//
//   tarn_platform_each_resource("WAVE", visit, &context);   // every loaded module's waves
#ifndef TARN_PLATFORM_INTERNAL_H
#define TARN_PLATFORM_INTERNAL_H

#include "platform/win32.h"

// The functions that stand in for Windows' own. Here they are the Windows names; in the
// Windows build they are tarn_fake_NAME (host_control.h), which the host puts into each
// loaded module's import table in place of the system's.
#if defined(_WIN32)
#define TARN_FAKE(name) tarn_fake_##name
#else
#define TARN_FAKE(name) name
#endif

namespace tarn_platform {

// Back to a fresh host's state; objects left over are freed.
void reset_window();
void reset_memory();
void reset_dsound();

// Calls `visit` for each resource of `type` in each loaded module, in load order, until
// it returns true.
using ResourceVisitor = bool (*)(DWORD id, const unsigned char* data, DWORD size, void* context);
void each_resource(const char* type, ResourceVisitor visit, void* context);

}  // namespace tarn_platform

#endif
