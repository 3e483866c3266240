// Module files on Linux: shared objects, checked and then loaded with dlopen.
#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "host/core/errors.h"
#include "host/core/module_file.h"

namespace tarn::module_file {

namespace {

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

void* open(const std::string& path, const std::string& name) {
    check_elf(path, name);
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        throw HostError("cannot load module " + name + " from " + path + ": " + (why ? why : "unknown error"));
    }
    return handle;
}

void* symbol(void* handle, const char* name) { return dlsym(handle, name); }

void close(void* handle) { dlclose(handle); }

ResourceDirectory resource_directory(void* handle) {
    const auto* begin = static_cast<const unsigned char*>(dlsym(handle, "tarn_resources"));
    const auto* end = static_cast<const unsigned char*>(dlsym(handle, "tarn_resources_end"));
    ResourceDirectory d;
    if (begin != nullptr && end != nullptr && end > begin) {
        d.data = begin;
        d.size = size_t(end - begin);
    }
    return d;
}

uint32_t resource_handle(void*, uint32_t directory) { return directory; }

}  // namespace tarn::module_file
