// The instrument module's sound layer (see sound.h). Reads the module's WAVE resources,
// the host executable's path and the host's main window; sends nothing.
//
// Sections: the module-wide switch | host window | device | loading a wave |
//           play, status, volume | release | sound slots
#include "instruments/sound.h"

#include <string.h>

/* ---- the module-wide switch ---------------------------------------------------------- */

int sound_enabled = 1;

/* ---- host window ------------------------------------------------------------------- */

// What the host executable's file name says about its main window.
enum HOST_KIND {
    HOST_KIND_1 = 1,  // "FS98MAIN"
    HOST_KIND_2 = 2,  // first character 'C': "MSCFSMAIN"
    HOST_KIND_3 = 3,  // third character '2': "FS98MAIN"
    HOST_KIND_4 = 4,  // fourth character '2': "MSCFSMAIN"
};

HWND find_host_window(void) {
    char path[MAX_PATH] = {0};
    // Zeroed, so a name shorter than four characters reads as zeros past its end.
    char name[_MAX_FNAME] = {0};
    GetModuleFileNameA(NULL, path, MAX_PATH);
    _splitpath(path, NULL, NULL, name, NULL);
    HOST_KIND kind = HOST_KIND_1;
    if (name[3] == '2') kind = HOST_KIND_4;
    else if (name[0] == 'C') kind = HOST_KIND_2;
    else if (name[2] == '2') kind = HOST_KIND_3;
    const char* window_class = (kind == HOST_KIND_2 || kind == HOST_KIND_4) ? "MSCFSMAIN" : "FS98MAIN";
    return FindWindowA(window_class, NULL);
}

/* ---- device -------------------------------------------------------------------------- */

int sound_create_device(HWND window, LPDIRECTSOUND* device) {
    *device = NULL;
    if (FAILED(DirectSoundCreate(NULL, device, NULL)) || *device == NULL) {
        *device = NULL;
        sound_enabled = 0;
        return 0;
    }
    // Refused without the host's window: the device goes again and the module is silent.
    if (FAILED((*device)->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        (*device)->Release();
        *device = NULL;
        sound_enabled = 0;
        return 0;
    }
    return 1;
}

/* ---- loading a wave ------------------------------------------------------------------ */

// The wave's format and a locked global block holding its data, read from the open
// memory file. On failure nothing is left allocated.
static int read_wave(HMMIO file, WAVEFORMATEX* format, HGLOBAL* block, const void** data, DWORD* length) {
    MMCKINFO riff = {0};
    MMCKINFO chunk = {0};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file, &riff, NULL, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return 0;
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return 0;
    // The first 18 bytes of the "fmt " chunk; a short read is as bad as a failed one.
    if (mmioRead(file, (HPSTR)format, 18) != 18) return 0;
    if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) return 0;
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return 0;
    const DWORD size = chunk.cksize;
    if (size > 0x7FFFFFFF) return 0;
    *block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (*block == NULL) return 0;
    HPSTR locked = (HPSTR)GlobalLock(*block);
    if (locked == NULL || mmioRead(file, locked, (LONG)size) != (LONG)size) {
        if (locked != NULL) GlobalUnlock(*block);
        GlobalFree(*block);
        *block = NULL;
        return 0;
    }
    *data = locked;
    *length = size;
    return 1;
}

static void free_block(HGLOBAL block) {
    GlobalUnlock(block);
    GlobalFree(block);
}

// A buffer made before the failing step is released, not just forgotten.
static DWORD load_failed(LPDIRECTSOUNDBUFFER* buffer) {
    if (*buffer != NULL) (*buffer)->Release();
    *buffer = NULL;
    sound_enabled = 0;
    return 0;
}

DWORD sound_load_wave(LPDIRECTSOUND* device, LPDIRECTSOUNDBUFFER* buffer, UINT id, HMODULE module) {
    if (!sound_enabled) return 0;
    *buffer = NULL;
    if (*device == NULL) return load_failed(buffer);

    // The resource, opened as a multimedia file on its own bytes.
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id & 0xFFFF), "WAVE");
    if (found == NULL) return load_failed(buffer);
    HGLOBAL resource = LoadResource(module, found);
    if (resource == NULL) return load_failed(buffer);
    LPVOID bytes = LockResource(resource);
    const DWORD size = SizeofResource(module, found);
    if (bytes == NULL || size == 0 || size > 0x7FFFFFFF) {
        FreeResource(resource);
        return load_failed(buffer);
    }
    MMIOINFO info;
    memset(&info, 0, sizeof info);
    info.fccIOProc = FOURCC_MEM;
    info.pchBuffer = (HPSTR)bytes;
    info.cchBuffer = (LONG)size;
    HMMIO file = mmioOpenA(NULL, &info, MMIO_READWRITE | MMIO_ALLOCBUF);
    if (file == NULL) {
        FreeResource(resource);
        return load_failed(buffer);
    }
    WAVEFORMATEX format;
    memset(&format, 0, sizeof format);
    HGLOBAL block = NULL;
    const void* data = NULL;
    DWORD length = 0;
    const int read = read_wave(file, &format, &block, &data, &length);
    mmioClose(file, 0);
    FreeResource(resource);
    if (!read) return load_failed(buffer);

    // The buffer: 36 bytes of description in the 32-bit module (its own size here).
    DSBUFFERDESC description;
    memset(&description, 0, sizeof description);
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS;
    description.dwBufferBytes = length;
    description.lpwfxFormat = &format;
    if (FAILED((*device)->CreateSoundBuffer(&description, buffer, NULL))) {
        free_block(block);
        *buffer = NULL;  // no buffer was made: nothing to release
        return load_failed(buffer);
    }

    // Fill it from the start and rewind it.
    LPVOID part1 = NULL, part2 = NULL;
    DWORD bytes1 = 0, bytes2 = 0;
    int filled = SUCCEEDED((*buffer)->Lock(0, length, &part1, &bytes1, &part2, &bytes2, 0)) && part1 != NULL;
    if (filled) {
        memcpy(part1, data, bytes1 < length ? bytes1 : length);
        filled = SUCCEEDED((*buffer)->Unlock(part1, bytes1, part2, bytes2)) &&
                 SUCCEEDED((*buffer)->SetCurrentPosition(0));
    }
    free_block(block);
    if (!filled) return load_failed(buffer);
    return length;
}

/* ---- play, status, volume ------------------------------------------------------------ */

static int buffer_failed(LPDIRECTSOUNDBUFFER* buffer) {
    sound_enabled = 0;
    (*buffer)->Release();
    *buffer = NULL;
    return 0;
}

int sound_play(LPDIRECTSOUNDBUFFER* buffer, DWORD flags) {
    if (!sound_enabled || *buffer == NULL) return 0;
    if (FAILED((*buffer)->Play(0, 0, flags))) return buffer_failed(buffer);
    return 1;
}

int sound_is_playing(LPDIRECTSOUNDBUFFER* buffer) {
    if (!sound_enabled || *buffer == NULL) return 0;
    DWORD status = 0;
    if (FAILED((*buffer)->GetStatus(&status))) return buffer_failed(buffer);
    return (status & DSBSTATUS_PLAYING) ? 1 : 0;
}

int sound_set_volume(LPDIRECTSOUNDBUFFER* buffer, LONG volume) {
    if (!sound_enabled || *buffer == NULL) return 0;
    if (FAILED((*buffer)->SetVolume(volume))) return buffer_failed(buffer);
    return 1;
}

/* ---- release ------------------------------------------------------------------------- */

void sound_release_buffer(LPDIRECTSOUNDBUFFER* buffer) {
    if (sound_enabled && *buffer != NULL) {
        (*buffer)->Release();
        *buffer = NULL;
    }
}

void sound_release_device(LPDIRECTSOUND* device) {
    if (sound_enabled && *device != NULL) {
        (*device)->Release();
        *device = NULL;
    }
}

/* ---- sound slots --------------------------------------------------------------------- */

// The slot is the gauge's module variables, shared by all its copies. A second copy's
// pre-install would otherwise overwrite the first copy's device and buffer without
// releasing them, and the first pre-kill would release the second's, silencing the copy
// that is left. So a new copy releases what it replaces, and the slot's objects go only
// with the last copy.
void sound_slot_open(SOUND_SLOT* slot, DWORD module_handle, UINT id) {
    sound_release_buffer(&slot->buffer);
    sound_release_device(&slot->device);
    slot->module = (HMODULE)(ULONG_PTR)module_handle;
    slot->window = find_host_window();
    sound_create_device(slot->window, &slot->device);
    slot->length = sound_load_wave(&slot->device, &slot->buffer, id, slot->module);
    ++slot->copies;
}

void sound_slot_close(SOUND_SLOT* slot) {
    if (slot->copies > 1) {
        --slot->copies;  // another copy still plays through the slot
        return;
    }
    slot->copies = 0;
    sound_release_buffer(&slot->buffer);
    sound_release_device(&slot->device);
}
