// What the host controls in the platform layer: the clock, the sound log and the
// resource directories of loaded modules. Gauge modules never include this header.
//
//   tarn_platform_set_time(0);
//   tarn_platform_advance_time(55);
//   for (size_t i = 0; i < tarn_sound_log_size(); ++i) puts(tarn_sound_log_text(i));
//   HMODULE m = tarn_platform_register_module(blob, size);   // resources of one plug-in
//   tarn_platform_set_host_exe("C:\\Sim\\panel.exe");            // GetModuleFileNameA(NULL, ...)
//   tarn_platform_set_host_window("MSCFSMAIN");             // or NULL: no main window
//   tarn_dsound_set_failure("play", TRUE);                  // Play fails from now on
#ifndef TARN_PLATFORM_HOST_CONTROL_H
#define TARN_PLATFORM_HOST_CONTROL_H

#include "platform/win32.h"

#ifdef __cplusplus
extern "C" {
#endif

// Millisecond clock behind timeGetTime (unsigned 32-bit, wraps).
TARN_PLATFORM_API DWORD tarn_platform_time(void);
TARN_PLATFORM_API void tarn_platform_set_time(DWORD ms);
TARN_PLATFORM_API void tarn_platform_advance_time(DWORD ms);

// Sound log: every sound request in order. Text is the name as passed, or "stop" for a
// request with no name. Which call made it: 'S' sndPlaySoundA, 'P' PlaySoundA.
TARN_PLATFORM_API size_t tarn_sound_log_size(void);
TARN_PLATFORM_API const char* tarn_sound_log_text(size_t index);
TARN_PLATFORM_API DWORD tarn_sound_log_flags(size_t index);
TARN_PLATFORM_API char tarn_sound_log_call(size_t index);
TARN_PLATFORM_API void tarn_sound_log_clear(void);
// Adds an entry made by another sound path (for example "wave:1001").
TARN_PLATFORM_API void tarn_sound_log_add(const char* text, DWORD flags, char call);

// Resource directory of a module: a blob made by the build's resource compiler
// ("TRES", count, then count entries of id, type[8], offset, size, then the data).
// Returns a handle whose value fits in 32 bits, or NULL when the blob is malformed.
TARN_PLATFORM_API HMODULE tarn_platform_register_module(const void* blob, size_t size);
TARN_PLATFORM_API void tarn_platform_unregister_module(HMODULE module);
// Resource lookup without the Win32 handle dance, for the host's bitmap loader.
TARN_PLATFORM_API const void* tarn_platform_find_resource(HMODULE module, DWORD id, const char* type,
                                                          size_t* size);

// The host process as the modules see it: the executable path that GetModuleFileNameA
// gives for no module (by default this program's own), and the class of the host's one
// main window ("FS98MAIN" by default; NULL: the host has no main window).
TARN_PLATFORM_API void tarn_platform_set_host_exe(const char* path);
TARN_PLATFORM_API void tarn_platform_set_host_window(const char* window_class);
// The main window's handle, or NULL when there is none.
TARN_PLATFORM_API HWND tarn_platform_host_window(void);

// DirectSound faults on demand: from now on the operation fails (fail TRUE) or works
// again. Operations: "create" (DirectSoundCreate), "cooperative" (SetCooperativeLevel),
// "buffer" (CreateSoundBuffer), "lock" (Lock), "play" (Play), "status" (GetStatus),
// "volume" (SetVolume). Returns FALSE for any other name.
TARN_PLATFORM_API BOOL tarn_dsound_set_failure(const char* operation, BOOL fail);
// A played buffer goes into the sound log as "wave:ID" (call 'D', flags: the play
// flags), ID being the WAVE resource of a loaded module whose "data" chunk the buffer
// holds ("wave:unknown" for none).
// The WAVE resource with that id of a loaded module (the whole RIFF file, as the module
// carries it), for a host that plays what the log names; NULL when no module has it.
TARN_PLATFORM_API const void* tarn_dsound_wave_resource(DWORD id, size_t* size);

// Objects alive now, for leak checks: open memory files, global blocks, DirectSound
// devices and buffers. A fresh host (tarn_platform_reset) frees what is left over.
TARN_PLATFORM_API size_t tarn_platform_open_mmio_files(void);
TARN_PLATFORM_API size_t tarn_platform_global_blocks(void);
TARN_PLATFORM_API size_t tarn_dsound_devices(void);
TARN_PLATFORM_API size_t tarn_dsound_buffers(void);

// Resets the clock, the sound log, the host executable and window, the DirectSound
// faults, and frees the objects above that are left over (a fresh host).
TARN_PLATFORM_API void tarn_platform_reset(void);

#if defined(_WIN32)
// The Windows build: the stand-ins that the host puts into each loaded module's import
// table in place of the system's functions of the same name (host/core/import_table.cpp).
// The rest of the modules' Windows calls (resources, memory files, global memory,
// wsprintfA, _splitpath) go to the system.
DWORD WINAPI tarn_fake_timeGetTime(void);
BOOL WINAPI tarn_fake_sndPlaySoundA(LPCSTR sound, UINT flags);
BOOL WINAPI tarn_fake_PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
DWORD WINAPI tarn_fake_GetModuleFileNameA(HMODULE module, LPSTR path, DWORD size);
HWND WINAPI tarn_fake_FindWindowA(LPCSTR class_name, LPCSTR window_name);
HRESULT WINAPI tarn_fake_DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* sound, LPUNKNOWN outer);
#endif

#ifdef __cplusplus
}
#endif

#endif
