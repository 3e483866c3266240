// The instrument module's sound layer: find the host's main window, make a DirectSound
// device bound to it, turn a WAVE resource of the module into a secondary buffer, play
// it, ask whether it plays, set its volume, release everything.
//
//   static SOUND_SLOT slot;                                   // one per sound-making gauge
//   sound_slot_open(&slot, extra_data, 4130);                 // at pre-install
//   sound_play(&slot.buffer, 0);                              // on a click
//   sound_slot_close(&slot);                                  // at pre-kill
//
// Failures are silent: any failing step clears `sound_enabled`, after which loads, plays,
// status queries, volume changes and releases do nothing until the module is unloaded.
// Everything runs on the host's panel thread; nothing locks.
#ifndef TARN_INSTRUMENTS_SOUND_H
#define TARN_INSTRUMENTS_SOUND_H

#include "platform/win32.h"

// 1 while the module may make sound; 0 for good after the first failing step.
extern int sound_enabled;

// One sound-making gauge's sound: the module handle for resource lookups (the datum of
// the pre-install call), the host window, the device, one buffer and its length in bytes.
// One slot serves every copy of its gauge (the same gauge on two panel windows), so it
// also counts the copies alive: what they share lives until the last of them is killed.
typedef struct SOUND_SLOT {
    HMODULE module;
    HWND window;
    LPDIRECTSOUND device;
    LPDIRECTSOUNDBUFFER buffer;
    DWORD length;
    int copies;  // copies of the gauge between pre-install and pre-kill
} SOUND_SLOT;

// The host's main window by the host executable's file name: "MSCFSMAIN" when its fourth
// character is '2' or, failing that, its first is 'C'; else "FS98MAIN". NULL when absent.
HWND find_host_window(void);
// DirectSound's default device at the normal cooperative level with `window`. 1 on
// success; 0 with the device NULL on failure. Does not look at `sound_enabled`.
int sound_create_device(HWND window, LPDIRECTSOUND* device);
// A buffer holding WAVE resource `id` (low 16 bits) of `module`: its data length in
// bytes, or 0 with the buffer NULL on failure.
DWORD sound_load_wave(LPDIRECTSOUND* device, LPDIRECTSOUNDBUFFER* buffer, UINT id, HMODULE module);
// Play (flags 0: once), status and volume (hundredths of a decibel): 1 on success, 0
// otherwise. A failing call clears `sound_enabled` and releases and nulls the buffer.
int sound_play(LPDIRECTSOUNDBUFFER* buffer, DWORD flags);
int sound_is_playing(LPDIRECTSOUNDBUFFER* buffer);
int sound_set_volume(LPDIRECTSOUNDBUFFER* buffer, LONG volume);
// Release and null the pointer, while `sound_enabled` holds and the pointer is set.
void sound_release_buffer(LPDIRECTSOUNDBUFFER* buffer);
void sound_release_device(LPDIRECTSOUND* device);

// The calling pattern of the switch gauges: at pre-install, keep the module handle, find
// the window, make the device and load resource `id`; at pre-kill, release the buffer,
// then the device. A copy installed while another lives releases the slot's device and
// buffer before making its own, which then serve both; a copy's pre-kill releases them
// only when no other copy is left.
void sound_slot_open(SOUND_SLOT* slot, DWORD module_handle, UINT id);
void sound_slot_close(SOUND_SLOT* slot);

#endif
