// The Win32 pieces the gauge modules call, in one header.
//
//   #include "platform/win32.h"
//   DWORD now = timeGetTime();
//   sndPlaySoundA("sound\\click.wav", SND_ASYNC);
//   wsprintfA(buffer, "%03d", value);
//
//   HWND w = FindWindowA("FS98MAIN", NULL);              // the host's main window
//   HMMIO f = mmioOpenA(NULL, &info, MMIO_READWRITE | MMIO_ALLOCBUF);   // a file on memory
//   DirectSoundCreate(NULL, &device, NULL);  device->SetCooperativeLevel(w, DSSCL_NORMAL);
//
// On Windows this is the system's own headers. Elsewhere it is the project's platform
// layer (libtarn_platform), one shared library in the process so that the host can set
// the millisecond clock, read the sound log and hand resources to the modules.
#ifndef TARN_PLATFORM_WIN32_H
#define TARN_PLATFORM_WIN32_H

#if defined(_WIN32)

// Lean: the modules need no more (the element model's headers also compile after the
// full set).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
#include <stdint.h>
#include <stdlib.h>

// The platform layer's own functions (host_control.h) are linked into the host program.
#if !defined(TARN_PLATFORM_API)
#define TARN_PLATFORM_API
#endif

#else

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

#if !defined(TARN_PLATFORM_API)
#define TARN_PLATFORM_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Calling conventions: Windows' standard one (__stdcall) for its API and COM methods;
// nothing to say here.
#define WINAPI
#define STDMETHODCALLTYPE

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uint32_t COLORREF;
typedef char CHAR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef uintptr_t ULONG_PTR;
typedef void* HANDLE;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HRSRC__* HRSRC;
typedef void* HGLOBAL;
typedef struct HWND__* HWND;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define MAKEINTRESOURCEA(i) ((LPSTR)(uintptr_t)(WORD)(i))
#define IS_INTRESOURCE(p) ((((uintptr_t)(p)) >> 16) == 0)

// Multimedia timer: milliseconds, unsigned 32-bit, wraps after about 49.7 days.
TARN_PLATFORM_API DWORD timeGetTime(void);

// Multimedia sounds. A request with no name stops what is playing.
#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_FILENAME 0x00020000
#define SND_RESOURCE 0x00040004
TARN_PLATFORM_API BOOL sndPlaySoundA(LPCSTR sound, UINT flags);
TARN_PLATFORM_API BOOL PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);

// Text formatter: integers, strings and characters; no floating point; at most 1024
// bytes are written, the terminating zero included.
TARN_PLATFORM_API int wsprintfA(LPSTR out, LPCSTR format, ...);
TARN_PLATFORM_API int wvsprintfA(LPSTR out, LPCSTR format, va_list args);

// Resources of a module, by integer id and type name ("WAVE", or RT_BITMAP).
#define RT_BITMAP MAKEINTRESOURCEA(2)
TARN_PLATFORM_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
TARN_PLATFORM_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
TARN_PLATFORM_API LPVOID LockResource(HGLOBAL data);
TARN_PLATFORM_API DWORD SizeofResource(HMODULE module, HRSRC resource);
TARN_PLATFORM_API BOOL FreeResource(HGLOBAL data);

/* ---- global memory ---------------------------------------------------------------- */

typedef size_t SIZE_T;
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
// A movable block's handle is not its address: GlobalLock gives the address (NULL for
// a block of no bytes). GlobalFree returns NULL on success, the handle on failure.
TARN_PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
TARN_PLATFORM_API LPVOID GlobalLock(HGLOBAL block);
TARN_PLATFORM_API BOOL GlobalUnlock(HGLOBAL block);
TARN_PLATFORM_API HGLOBAL GlobalFree(HGLOBAL block);

/* ---- the host process and its main window ----------------------------------------- */

#define MAX_PATH 260
#define _MAX_PATH 260
#define _MAX_DRIVE 3
#define _MAX_DIR 256
#define _MAX_FNAME 256
#define _MAX_EXT 256
// The full path of a module's file; module NULL: the host executable. Writes at most
// `size` bytes, the terminating zero included; returns the characters written, or
// `size` when the path was cut.
TARN_PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR path, DWORD size);
// Splits a path into drive ("C:"), folder (up to its last '\\' or '/'), file name and
// extension (from the file name's last '.'). Each output may be NULL; the others get at
// most _MAX_DRIVE, _MAX_DIR, _MAX_FNAME and _MAX_EXT bytes.
TARN_PLATFORM_API void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// The top-level window of that class (compared without case) and title (NULL: any).
TARN_PLATFORM_API HWND FindWindowA(LPCSTR class_name, LPCSTR window_name);

/* ---- multimedia files on memory --------------------------------------------------- */

typedef DWORD FOURCC;
typedef UINT MMRESULT;
typedef char* HPSTR;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef struct HMMIO__* HMMIO;
typedef struct HTASK__* HTASK;
typedef LRESULT (*LPMMIOPROC)(LPSTR info, UINT message, LPARAM param1, LPARAM param2);

#define mmioFOURCC(c0, c1, c2, c3) \
    ((FOURCC)(BYTE)(c0) | ((FOURCC)(BYTE)(c1) << 8) | ((FOURCC)(BYTE)(c2) << 16) | ((FOURCC)(BYTE)(c3) << 24))
#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')
#define FOURCC_MEM mmioFOURCC('M', 'E', 'M', ' ')

#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_ALLOCBUF 0x00010000
#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040

#define MMSYSERR_NOERROR 0
#define MMSYSERR_INVALHANDLE 5
#define MMSYSERR_INVALPARAM 11
#define MMIOERR_BASE 256
#define MMIOERR_OUTOFMEMORY (MMIOERR_BASE + 2)
#define MMIOERR_CANNOTOPEN (MMIOERR_BASE + 3)
#define MMIOERR_CANNOTREAD (MMIOERR_BASE + 5)
#define MMIOERR_CHUNKNOTFOUND (MMIOERR_BASE + 9)

typedef struct MMIOINFO {
    DWORD dwFlags;
    FOURCC fccIOProc;     // FOURCC_MEM: the file is the memory at pchBuffer
    LPMMIOPROC pIOProc;
    UINT wErrorRet;       // why mmioOpenA failed
    HTASK htask;
    LONG cchBuffer;       // bytes of the memory file
    HPSTR pchBuffer;      // the memory file
    HPSTR pchNext;
    HPSTR pchEndRead;
    HPSTR pchEndWrite;
    LONG lBufOffset;
    LONG lDiskOffset;
    DWORD adwInfo[3];
    DWORD dwReserved1;
    DWORD dwReserved2;
    HMMIO hmmio;
} MMIOINFO, *LPMMIOINFO;

typedef struct MMCKINFO {
    FOURCC ckid;          // chunk id
    DWORD cksize;         // bytes of chunk data
    FOURCC fccType;       // form type of a "RIFF" or "LIST" chunk
    DWORD dwDataOffset;   // where the chunk's data begins in the file
    DWORD dwFlags;
} MMCKINFO, *LPMMCKINFO;

// Only memory files (FOURCC_MEM with a buffer) are served here. Reads never go past the
// memory block; a read that reaches its end returns fewer bytes than asked for.
TARN_PLATFORM_API HMMIO mmioOpenA(LPSTR file_name, LPMMIOINFO info, DWORD open_flags);
TARN_PLATFORM_API LONG mmioRead(HMMIO file, HPSTR out, LONG count);
// Finds the next chunk (MMIO_FINDCHUNK: of id ck->ckid; MMIO_FINDRIFF / MMIO_FINDLIST: a
// RIFF / LIST chunk of form ck->fccType) inside `parent` (NULL: the whole file) and moves
// into its data. A chunk whose header or data runs past its parent or the memory block
// is not found (MMIOERR_CHUNKNOTFOUND).
TARN_PLATFORM_API MMRESULT mmioDescend(HMMIO file, LPMMCKINFO ck, const MMCKINFO* parent, UINT flags);
TARN_PLATFORM_API MMRESULT mmioAscend(HMMIO file, LPMMCKINFO ck, UINT flags);
TARN_PLATFORM_API MMRESULT mmioClose(HMMIO file, UINT flags);

/* ---- waveform formats and DirectSound ---------------------------------------------- */

#define WAVE_FORMAT_PCM 1

#pragma pack(push, 1)
typedef struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
} WAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)
typedef const WAVEFORMATEX* LPCWAVEFORMATEX;

typedef LONG HRESULT;
typedef uint32_t ULONG;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
} GUID, IID;
typedef const GUID* LPCGUID;

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)
#define S_OK ((HRESULT)0)
#define E_NOTIMPL ((HRESULT)0x80004001L)
#define E_NOINTERFACE ((HRESULT)0x80004002L)
#define DS_OK S_OK
#define DSERR_ALLOCATED ((HRESULT)0x8878000AL)
#define DSERR_CONTROLUNAVAIL ((HRESULT)0x8878001EL)
#define DSERR_INVALIDPARAM ((HRESULT)0x80070057L)
#define DSERR_INVALIDCALL ((HRESULT)0x88780032L)
#define DSERR_GENERIC ((HRESULT)0x80004005L)
#define DSERR_PRIOLEVELNEEDED ((HRESULT)0x88780046L)
#define DSERR_OUTOFMEMORY ((HRESULT)0x8007000EL)
#define DSERR_BADFORMAT ((HRESULT)0x88780064L)
#define DSERR_UNSUPPORTED E_NOTIMPL
#define DSERR_NODRIVER ((HRESULT)0x88780078L)
#define DSERR_BUFFERLOST ((HRESULT)0x88780096L)
#define DSERR_NOAGGREGATION ((HRESULT)0x80040110L)
#define DSERR_ALREADYINITIALIZED ((HRESULT)0x88780082L)

#define DSSCL_NORMAL 0x00000001
#define DSSCL_PRIORITY 0x00000002
#define DSSCL_EXCLUSIVE 0x00000003
#define DSSCL_WRITEPRIMARY 0x00000004

#define DSBCAPS_PRIMARYBUFFER 0x00000001
#define DSBCAPS_STATIC 0x00000002
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_GLOBALFOCUS 0x00008000

#define DSBPLAY_LOOPING 0x00000001
#define DSBSTATUS_PLAYING 0x00000001
#define DSBSTATUS_LOOPING 0x00000004
#define DSBLOCK_FROMWRITECURSOR 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002
#define DSBVOLUME_MIN (-10000)
#define DSBVOLUME_MAX 0
#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF

typedef struct DSBUFFERDESC {
    DWORD dwSize;                // sizeof(DSBUFFERDESC)
    DWORD dwFlags;               // DSBCAPS_*
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
} DSBUFFERDESC, *LPDSBUFFERDESC;
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

#ifdef __cplusplus
// COM interfaces, laid out as Windows lays them out: the methods in their vtable order
// with the standard calling convention, so one implementation (the platform layer's
// DirectSound) serves this build and the Windows one, where it stands behind the system's
// own declarations. Called as device->SetCooperativeLevel(window, DSSCL_NORMAL). Every
// object starts with one reference; Release drops one and destroys the object at none.
struct DSCAPS;
struct DSBCAPS;
typedef DSCAPS* LPDSCAPS;
typedef DSBCAPS* LPDSBCAPS;
struct IDirectSound;
struct IDirectSoundBuffer;

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

// A secondary sound buffer. A played buffer counts as playing for its data's duration in
// host-clock time (timeGetTime), or until stopped when it loops.
struct IDirectSoundBuffer : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD play, LPDWORD write) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD size, LPDWORD written) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD frequency) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(IDirectSound* device, LPCDSBUFFERDESC description) = 0;
    virtual HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2,
                                           LPDWORD bytes2, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX format) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPan(LONG pan) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFrequency(DWORD frequency) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) = 0;
    virtual HRESULT STDMETHODCALLTYPE Restore() = 0;
};

// A DirectSound device. Buffers need a cooperative level, which needs the host's window.
struct IDirectSound : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC description, IDirectSoundBuffer** buffer,
                                                        IUnknown* outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS caps) = 0;
    virtual HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                                           IDirectSoundBuffer** duplicate) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) = 0;
    virtual HRESULT STDMETHODCALLTYPE Compact() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSpeakerConfig(LPDWORD config) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSpeakerConfig(DWORD config) = 0;
    virtual HRESULT STDMETHODCALLTYPE Initialize(LPCGUID device) = 0;
};
typedef IUnknown* LPUNKNOWN;
#else
typedef struct IUnknown IUnknown, *LPUNKNOWN;
typedef struct IDirectSound IDirectSound;
typedef struct IDirectSoundBuffer IDirectSoundBuffer;
#endif
typedef IDirectSound* LPDIRECTSOUND;
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;

// device NULL: the default device. outer must be NULL.
TARN_PLATFORM_API HRESULT DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* sound, LPUNKNOWN outer);

#ifdef __cplusplus
}
#endif

#endif  // _WIN32
#endif  // TARN_PLATFORM_WIN32_H
