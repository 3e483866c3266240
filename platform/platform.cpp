// The platform layer: the multimedia clock and sounds that the host controls, resources
// of the loaded modules (served to the modules outside Windows; on Windows the system
// serves them, and the host keeps a copy here for its own look-ups and DirectSound's). Everything runs on the host's panel thread; nothing here locks.
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/host_control.h"
#include "platform/internal.h"

namespace {

DWORD g_time_ms = 0;

struct SoundRequest {
    std::string text;
    DWORD flags;
    char call;
};
std::vector<SoundRequest> g_sound_log;

struct ResourceEntry {
    DWORD id;
    char type[9];
    const unsigned char* data;
    DWORD size;
};

struct ModuleResources {
    bool live = false;
    std::vector<ResourceEntry> entries;
};

// Handles are small integers (index + 1) shifted into a pointer, so that they fit the
// 32-bit resource handle that gauge callbacks receive.
std::vector<ModuleResources> g_modules;

ModuleResources* module_of(HMODULE module) {
    uintptr_t index = reinterpret_cast<uintptr_t>(module);
    if (index == 0 || index > g_modules.size()) return nullptr;
    ModuleResources& m = g_modules[index - 1];
    return m.live ? &m : nullptr;
}

uint32_t read_u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool type_matches(const ResourceEntry& e, LPCSTR type) {
    if (type == nullptr) return false;
    if (IS_INTRESOURCE(type)) {
        // Integer types: only RT_BITMAP is used; stored as "BITMAP".
        return reinterpret_cast<uintptr_t>(type) == 2 && std::strcmp(e.type, "BITMAP") == 0;
    }
    // The same name, of at most 8 characters.
    for (size_t i = 0; i <= 8; ++i) {
        const char a = e.type[i], b = type[i];
        if (b == '\0') return a == '\0';
        if (a == '\0' || std::tolower(static_cast<unsigned char>(a)) != std::tolower(static_cast<unsigned char>(b)))
            return false;
    }
    return false;
}

const ResourceEntry* find_entry(HMODULE module, DWORD id, LPCSTR type) {
    ModuleResources* m = module_of(module);
    if (m == nullptr) return nullptr;
    for (const ResourceEntry& e : m->entries)
        if (e.id == id && type_matches(e, type)) return &e;
    return nullptr;
}

}  // namespace

namespace tarn_platform {

void each_resource(const char* type, ResourceVisitor visit, void* context) {
    for (const ModuleResources& m : g_modules) {
        if (!m.live) continue;
        for (const ResourceEntry& e : m.entries)
            if (type_matches(e, type) && visit(e.id, e.data, e.size, context)) return;
    }
}

}  // namespace tarn_platform

extern "C" {

DWORD WINAPI TARN_FAKE(timeGetTime)(void) { return g_time_ms; }
DWORD tarn_platform_time(void) { return g_time_ms; }
void tarn_platform_set_time(DWORD ms) { g_time_ms = ms; }
void tarn_platform_advance_time(DWORD ms) { g_time_ms += ms; }

BOOL WINAPI TARN_FAKE(sndPlaySoundA)(LPCSTR sound, UINT flags) {
    g_sound_log.push_back({sound ? sound : "stop", flags, 'S'});
    return TRUE;
}

BOOL WINAPI TARN_FAKE(PlaySoundA)(LPCSTR sound, HMODULE, DWORD flags) {
    g_sound_log.push_back({sound ? sound : "stop", flags, 'P'});
    return TRUE;
}

size_t tarn_sound_log_size(void) { return g_sound_log.size(); }
const char* tarn_sound_log_text(size_t i) { return i < g_sound_log.size() ? g_sound_log[i].text.c_str() : nullptr; }
DWORD tarn_sound_log_flags(size_t i) { return i < g_sound_log.size() ? g_sound_log[i].flags : 0; }
char tarn_sound_log_call(size_t i) { return i < g_sound_log.size() ? g_sound_log[i].call : 0; }
void tarn_sound_log_clear(void) { g_sound_log.clear(); }
void tarn_sound_log_add(const char* text, DWORD flags, char call) {
    g_sound_log.push_back({text ? text : "stop", flags, call});
}

HMODULE tarn_platform_register_module(const void* blob, size_t size) {
    const auto* p = static_cast<const unsigned char*>(blob);
    if (p == nullptr || size < 8 || std::memcmp(p, "TRES", 4) != 0) return nullptr;
    uint32_t count = read_u32(p + 4);
    const size_t entry_size = 20;
    if (count > (size - 8) / entry_size) return nullptr;
    ModuleResources m;
    m.live = true;
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* e = p + 8 + size_t(i) * entry_size;
        ResourceEntry r{};
        r.id = read_u32(e);
        std::memcpy(r.type, e + 4, 8);
        r.type[8] = '\0';
        uint32_t offset = read_u32(e + 12);
        uint32_t length = read_u32(e + 16);
        if (offset > size || length > size - offset) return nullptr;
        r.data = p + offset;
        r.size = length;
        m.entries.push_back(r);
    }
    g_modules.push_back(std::move(m));
    return reinterpret_cast<HMODULE>(uintptr_t(g_modules.size()));
}

void tarn_platform_unregister_module(HMODULE module) {
    if (ModuleResources* m = module_of(module)) {
        m->live = false;
        m->entries.clear();
    }
}

const void* tarn_platform_find_resource(HMODULE module, DWORD id, const char* type, size_t* size) {
    const ResourceEntry* e = find_entry(module, id, type);
    if (e == nullptr) return nullptr;
    if (size) *size = e->size;
    return e->data;
}

#if !defined(_WIN32)
// The modules' resources; on Windows the system serves them from the module files.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!IS_INTRESOURCE(name)) return nullptr;  // the modules name resources by integer id only
    const ResourceEntry* e = find_entry(module, DWORD(reinterpret_cast<uintptr_t>(name)), type);
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(e));
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (resource == nullptr) return nullptr;
    return const_cast<unsigned char*>(reinterpret_cast<const ResourceEntry*>(resource)->data);
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? reinterpret_cast<const ResourceEntry*>(resource)->size : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }
#endif

void tarn_platform_reset(void) {
    g_time_ms = 0;
    g_sound_log.clear();
    tarn_platform::reset_window();
#if !defined(_WIN32)
    tarn_platform::reset_memory();
#endif
    tarn_platform::reset_dsound();
}

}  // extern "C"
