// The Win32 pieces the gauge modules call, in one header.
//
//   #include "platform/win32.h"
//   DWORD now = timeGetTime();
//   sndPlaySoundA("sound\\click.wav", SND_ASYNC);
//   wsprintfA(buffer, "%03d", value);
//
// On Windows this is the system's own headers. Elsewhere it is the project's platform
// layer (libtarn_platform), one shared library in the process so that the host can set
// the millisecond clock, read the sound log and hand resources to the modules.
#ifndef TARN_PLATFORM_WIN32_H
#define TARN_PLATFORM_WIN32_H

#if defined(_WIN32)

#include <windows.h>
#include <mmsystem.h>

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

#ifdef __cplusplus
}
#endif

#endif  // _WIN32
#endif  // TARN_PLATFORM_WIN32_H
