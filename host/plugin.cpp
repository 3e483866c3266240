#include "host/plugin.h"

#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <cstdio>
#include <cstring>

#include "host/errors.h"
#include "platform/host_control.h"

namespace tarn {

namespace {

uint32_t u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// dlopen maps a shared object's segments as its headers give them; a file cut short maps
// pages past its end, and touching them kills the process (SIGBUS). So an ELF file is
// checked first: this machine's kind of shared object, with its program headers and every
// segment inside the file. Files that are not ELF at all are left to dlopen's own message.
void check_elf(const std::string& path, const std::string& name) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return;  // dlopen says why
    std::fseek(f, 0, SEEK_END);
    const long end = std::ftell(f);
    std::rewind(f);
    ElfW(Ehdr) h{};
    const size_t got = std::fread(&h, 1, sizeof h, f);
    auto fail = [&](const std::string& why) {
        std::fclose(f);
        throw HostError("cannot load module " + name + " from " + path + ": " + why);
    };
    if (got < 4 || std::memcmp(h.e_ident, ELFMAG, SELFMAG) != 0) {
        std::fclose(f);
        return;
    }
    const uint64_t size = end < 0 ? 0 : uint64_t(end);
    if (got < sizeof h) fail("the file is cut short (" + std::to_string(size) + " bytes)");
    if (h.e_ident[EI_CLASS] != (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) || h.e_type != ET_DYN)
        fail("not a shared library of this machine's kind");
    if (h.e_phentsize != sizeof(ElfW(Phdr)) || h.e_phnum == 0 || h.e_phoff > size ||
        uint64_t(h.e_phnum) * sizeof(ElfW(Phdr)) > size - h.e_phoff)
        fail("the file is cut short or damaged (its program headers lie outside its " + std::to_string(size) +
             " bytes)");
    std::fseek(f, long(h.e_phoff), SEEK_SET);
    for (unsigned i = 0; i < h.e_phnum; ++i) {
        ElfW(Phdr) ph{};
        if (std::fread(&ph, sizeof ph, 1, f) != 1) fail("cannot read its program headers");
        if (ph.p_type != PT_LOAD && ph.p_type != PT_DYNAMIC) continue;
        if (ph.p_offset > size || ph.p_filesz > size - ph.p_offset)
            fail("the file is cut short (a segment ends at byte " + std::to_string(uint64_t(ph.p_offset) + ph.p_filesz) +
                 " of " + std::to_string(size) + ")");
    }
    std::fclose(f);
}

}  // namespace

bool read_bitmap_info(const void* data, size_t size, BitmapInfo& info) {
    const auto* p = static_cast<const unsigned char*>(data);
    if (p == nullptr || size < 40 || u32(p) < 40) return false;
    int32_t width = int32_t(u32(p + 4));
    int32_t height = int32_t(u32(p + 8));
    int bits = p[14] | p[15] << 8;
    if (width <= 0 || height == 0 || height == INT32_MIN || width > 16384) return false;
    if (height < 0) height = -height;
    if (height > 16384) return false;
    if (bits != 24 && bits != 32 && bits != 8) return false;
    const uint64_t stride = (uint64_t(width) * bits / 8 + 3) & ~uint64_t(3);
    const uint64_t palette = bits == 8 ? 1024 : 0;
    if (u32(p) + palette + stride * uint64_t(height) > size) return false;
    info.width = width;
    info.height = height;
    info.bits = bits;
    return true;
}

std::unique_ptr<Plugin> Plugin::load(const std::string& path, const std::string& name,
                                     PANEL_SERVICE_TABLE* services) {
    check_elf(path, name);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        throw HostError("cannot load module " + name + " from " + path + ": " + (why ? why : "unknown error"));
    }
    std::unique_ptr<Plugin> p(new Plugin);
    p->handle_ = handle;
    p->name_ = name;
    p->path_ = path;
    p->import_table_ = static_cast<IMPORT_TABLE*>(dlsym(handle, "ImportTable"));
    p->linkage_ = static_cast<GAUGESLINKAGE*>(dlsym(handle, "Linkage"));
    if (p->import_table_ == nullptr || p->linkage_ == nullptr)
        throw HostError(path + " is not a gauge module: it does not export " +
                        (p->import_table_ == nullptr ? "ImportTable" : "Linkage"));
    if (p->import_table_->PANELSentry.fnID != 0x0000000F)
        throw HostError(path + ": ImportTable entry 0 is not the panel service entry (0x0000000F)");
    for (size_t i = 0; i < TARN_MAX_GAUGES && p->linkage_->gauges[i] != nullptr; ++i) {
        GAUGEHDR* g = p->linkage_->gauges[i];
        if (g->gauge_name == nullptr) throw HostError(path + ": gauge " + std::to_string(i + 1) + " has no name");
        p->gauges_.push_back(g);
    }
    const auto* begin = static_cast<const unsigned char*>(dlsym(handle, "tarn_resources"));
    const auto* end = static_cast<const unsigned char*>(dlsym(handle, "tarn_resources_end"));
    if (begin != nullptr && end != nullptr && end > begin) {
        HMODULE m = tarn_platform_register_module(begin, size_t(end - begin));
        if (m == nullptr) throw HostError(path + ": the module's resource directory is malformed");
        p->resource_handle_ = UINT32(reinterpret_cast<uintptr_t>(m));
    }
    p->import_table_->PANELSentry.fnptr = services;
    if (p->linkage_->ModuleInit) p->linkage_->ModuleInit();
    p->initialised_ = true;
    return p;
}

Plugin::~Plugin() {
    if (initialised_ && linkage_->ModuleDeinit) linkage_->ModuleDeinit();
    if (resource_handle_) tarn_platform_unregister_module(reinterpret_cast<HMODULE>(uintptr_t(resource_handle_)));
    if (handle_) dlclose(handle_);
}

GAUGEHDR* Plugin::find(const std::string& gauge) const {
    for (GAUGEHDR* g : gauges_)
        if (gauge == g->gauge_name) return g;
    return nullptr;
}

const void* Plugin::resource(uint32_t id, const char* type, size_t* size) const {
    if (resource_handle_ == 0) return nullptr;
    return tarn_platform_find_resource(reinterpret_cast<HMODULE>(uintptr_t(resource_handle_)), id, type, size);
}

bool Plugin::bitmap(int32_t id, BitmapInfo& info) const {
    size_t size = 0;
    const void* data = resource(uint32_t(id), "BITMAP", &size);
    return data != nullptr && read_bitmap_info(data, size, info);
}

}  // namespace tarn
