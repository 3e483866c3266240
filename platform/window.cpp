// The host process as the modules see it: its executable's path, path splitting, and its
// one main window, found by class.
#include <strings.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <climits>
#include <cstring>
#include <string>

#include "platform/host_control.h"
#include "platform/internal.h"

namespace {

const char* const kDefaultWindowClass = "FS98MAIN";
const char* const kWindowTitle = "tarn-panel";
// Any value that is no address will do: the handle is only compared.
HWND const kHostWindow = reinterpret_cast<HWND>(uintptr_t(0x00010010));

std::string g_exe;
bool g_exe_set = false;
std::string g_window_class = kDefaultWindowClass;
bool g_has_window = true;

std::string own_executable() {
#if defined(_WIN32)
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return n > 0 && n < sizeof path ? std::string(path, n) : std::string("tarn-panel.exe");
#else
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, size_t(n)) : std::string("tarn-panel");
#endif
}

}  // namespace

namespace tarn_platform {

void reset_window() {
    g_exe.clear();
    g_exe_set = false;
    g_window_class = kDefaultWindowClass;
    g_has_window = true;
}

}  // namespace tarn_platform

extern "C" {

void tarn_platform_set_host_exe(const char* path) {
    g_exe = path ? path : "";
    g_exe_set = true;
}

void tarn_platform_set_host_window(const char* window_class) {
    g_has_window = window_class != nullptr;
    g_window_class = window_class ? window_class : "";
}

HWND tarn_platform_host_window(void) { return g_has_window ? kHostWindow : nullptr; }

DWORD WINAPI TARN_FAKE(GetModuleFileNameA)(HMODULE module, LPSTR path, DWORD size) {
#if defined(_WIN32)
    if (module != nullptr) return GetModuleFileNameA(module, path, size);  // a module's own file
#endif
    if (module != nullptr || path == nullptr || size == 0) return 0;  // only the host executable is known
    if (!g_exe_set) {
        g_exe = own_executable();
        g_exe_set = true;
    }
    if (g_exe.size() < size) {
        std::memcpy(path, g_exe.c_str(), g_exe.size() + 1);
        return DWORD(g_exe.size());
    }
    std::memcpy(path, g_exe.data(), size - 1);
    path[size - 1] = '\0';
    return size;
}

#if !defined(_WIN32)
namespace {

// Copies at most size - 1 characters and the terminating zero.
void copy_part(char* out, size_t size, const char* begin, const char* end) {
    if (out == nullptr) return;
    size_t n = size_t(end - begin);
    if (n > size - 1) n = size - 1;
    std::memcpy(out, begin, n);
    out[n] = '\0';
}

}  // namespace

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
    if (path == nullptr) path = "";
    const char* p = path;
    const char* end = path + std::strlen(path);
    if (p[0] != '\0' && p[1] == ':') {
        copy_part(drive, _MAX_DRIVE, p, p + 2);
        p += 2;
    } else {
        copy_part(drive, _MAX_DRIVE, p, p);
    }
    const char* name = p;
    for (const char* c = p; c < end; ++c)
        if (*c == '\\' || *c == '/') name = c + 1;
    copy_part(dir, _MAX_DIR, p, name);
    const char* dot = end;
    for (const char* c = name; c < end; ++c)
        if (*c == '.') dot = c;
    copy_part(fname, _MAX_FNAME, name, dot);
    copy_part(ext, _MAX_EXT, dot, end);
}

#endif

HWND WINAPI TARN_FAKE(FindWindowA)(LPCSTR class_name, LPCSTR window_name) {
    if (!g_has_window) return nullptr;
    if (class_name != nullptr && (IS_INTRESOURCE(class_name) || strcasecmp(class_name, g_window_class.c_str()) != 0))
        return nullptr;  // class atoms are not served here
    if (window_name != nullptr && strcasecmp(window_name, kWindowTitle) != 0) return nullptr;
    return kHostWindow;
}

}  // extern "C"
