// Module files on Windows: DLLs loaded with LoadLibraryA. After loading, the module's
// import address table is searched for the functions the host controls, and each entry
// found is pointed at the platform layer's stand-in (host_control.h): the millisecond
// clock, the two multimedia sound calls, the host executable's path, the main window and
// DirectSound. Everything else the module imports (resources, memory files, global
// memory, wsprintfA, the C runtime) stays the system's.
//
// Sections: import redirection | resources | entry points
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "host/core/errors.h"
#include "host/core/module_file.h"
#include "platform/host_control.h"

namespace tarn::module_file {

namespace {

/* ---- import redirection ------------------------------------------------------------ */

struct Redirect {
    const char* dll;
    const char* function;
    void* stand_in;
};

const Redirect kRedirects[] = {
    {"winmm.dll", "timeGetTime", reinterpret_cast<void*>(&tarn_fake_timeGetTime)},
    {"winmm.dll", "sndPlaySoundA", reinterpret_cast<void*>(&tarn_fake_sndPlaySoundA)},
    {"winmm.dll", "PlaySoundA", reinterpret_cast<void*>(&tarn_fake_PlaySoundA)},
    {"kernel32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(&tarn_fake_GetModuleFileNameA)},
    {"user32.dll", "FindWindowA", reinterpret_cast<void*>(&tarn_fake_FindWindowA)},
    {"dsound.dll", "DirectSoundCreate", reinterpret_cast<void*>(&tarn_fake_DirectSoundCreate)},
};

// The image's import directory, walked entry by entry; every offset is checked against
// the image's size, since a damaged file must not take the host down.
void redirect_imports(HMODULE module, const std::string& path) {
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const DWORD image_size = nt->OptionalHeader.SizeOfImage;
    auto inside = [&](uint64_t offset, uint64_t bytes) { return offset <= image_size && bytes <= image_size - offset; };
    if (nt->OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT) return;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0) return;
    for (DWORD at = dir.VirtualAddress;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        if (!inside(at, sizeof(IMAGE_IMPORT_DESCRIPTOR))) throw HostError(path + ": its import table is damaged");
        const auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + at);
        if (d->Name == 0) break;
        if (!inside(d->Name, 1)) throw HostError(path + ": its import table is damaged");
        const char* dll = reinterpret_cast<const char*>(base + d->Name);
        const DWORD names_at = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
        for (DWORD k = 0;; ++k) {
            const uint64_t name_entry = names_at + uint64_t(k) * sizeof(IMAGE_THUNK_DATA);
            const uint64_t slot_entry = d->FirstThunk + uint64_t(k) * sizeof(IMAGE_THUNK_DATA);
            if (!inside(name_entry, sizeof(IMAGE_THUNK_DATA)) || !inside(slot_entry, sizeof(IMAGE_THUNK_DATA)))
                throw HostError(path + ": its import table is damaged");
            const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + name_entry);
            if (names->u1.AddressOfData == 0) break;
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            if (!inside(names->u1.AddressOfData, sizeof(IMAGE_IMPORT_BY_NAME)))
                throw HostError(path + ": its import table is damaged");
            const auto* by_name = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const char* function = reinterpret_cast<const char*>(by_name->Name);
            for (const Redirect& r : kRedirects) {
                if (_stricmp(dll, r.dll) != 0 || std::strcmp(function, r.function) != 0) continue;
                auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + slot_entry);
                DWORD protection = 0;
                if (!VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection))
                    throw HostError(path + ": cannot redirect its import of " + function);
                slot->u1.Function = reinterpret_cast<uintptr_t>(r.stand_in);
                VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            }
        }
    }
}

/* ---- resources ---------------------------------------------------------------------- */

struct Resource {
    DWORD id;
    const char* type;  // as the directory names it
    const void* data;
    DWORD size;
};

struct Gather {
    const char* type;
    std::vector<Resource>* out;
};

BOOL CALLBACK gather(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR context) {
    auto* g = reinterpret_cast<Gather*>(context);
    if (!IS_INTRESOURCE(name)) return TRUE;  // the modules name resources by integer id only
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data != nullptr)
        g->out->push_back({DWORD(reinterpret_cast<uintptr_t>(name)), g->type, data, SizeofResource(module, found)});
    return TRUE;
}

void put_u32(std::vector<unsigned char>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::string last_error() {
    const DWORD code = GetLastError();
    char text[512] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                       sizeof text, nullptr) == 0)
        return "error " + std::to_string(code);
    std::string why = text;
    while (!why.empty() && (why.back() == '\n' || why.back() == '\r' || why.back() == ' ')) why.pop_back();
    return why + " (error " + std::to_string(code) + ")";
}

}  // namespace

/* ---- entry points ------------------------------------------------------------------- */

void* open(const std::string& path, const std::string& name) {
    std::error_code ec;
    std::string full = std::filesystem::absolute(std::filesystem::path(path), ec).string();
    if (ec) full = path;
    for (char& c : full)
        if (c == '/') c = '\\';
    // No message boxes for a file that is not a module: the error comes back here.
    const UINT old_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryA(full.c_str());
    const std::string why = module ? std::string() : last_error();
    SetErrorMode(old_mode);
    if (module == nullptr) throw HostError("cannot load module " + name + " from " + path + ": " + why);
    try {
        redirect_imports(module, path);
    } catch (...) {
        FreeLibrary(module);
        throw;
    }
    return module;
}

void* symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void close(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }

ResourceDirectory resource_directory(void* handle) {
    HMODULE module = static_cast<HMODULE>(handle);
    std::vector<Resource> found;
    Gather bitmaps{"BITMAP", &found};
    EnumResourceNamesA(module, RT_BITMAP, gather, reinterpret_cast<LONG_PTR>(&bitmaps));
    Gather waves{"WAVE", &found};
    EnumResourceNamesA(module, "WAVE", gather, reinterpret_cast<LONG_PTR>(&waves));
    ResourceDirectory d;
    if (found.empty()) return d;
    // "TRES", the count, then per resource its id, type (8 bytes), offset and size.
    size_t at = 8 + found.size() * 20;
    size_t total = at;
    for (const Resource& r : found) total += r.size;
    std::vector<unsigned char>& out = d.made;
    out.assign(total, 0);
    std::memcpy(out.data(), "TRES", 4);
    put_u32(out, 4, uint32_t(found.size()));
    for (size_t i = 0; i < found.size(); ++i) {
        const Resource& r = found[i];
        const size_t entry = 8 + i * 20;
        put_u32(out, entry, r.id);
        std::memcpy(out.data() + entry + 4, r.type, std::strlen(r.type));
        put_u32(out, entry + 12, uint32_t(at));
        put_u32(out, entry + 16, r.size);
        if (r.size > 0) std::memcpy(out.data() + at, r.data, r.size);
        at += r.size;
    }
    d.data = out.data();
    d.size = out.size();
    return d;
}

uint32_t resource_handle(void* handle, uint32_t) { return uint32_t(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace tarn::module_file
