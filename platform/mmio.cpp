// Multimedia files on memory and global memory blocks. Handles are checked against the
// live objects before use, so a stale or made-up handle is refused, never followed.
// Every read is bounded by the memory block the file was opened on.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/host_control.h"
#include "platform/internal.h"

namespace {

/* ---- memory files ------------------------------------------------------------------ */

struct MemoryFile {
    const unsigned char* base;
    uint64_t size;
    uint64_t position;  // may lie past the end after an ascend; reads there get nothing
};

std::vector<std::unique_ptr<MemoryFile>> g_files;

MemoryFile* file_of(HMMIO handle) {
    for (auto& f : g_files)
        if (reinterpret_cast<HMMIO>(f.get()) == handle) return f.get();
    return nullptr;
}

uint32_t read_u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

/* ---- global memory ------------------------------------------------------------------ */

constexpr SIZE_T kMaxGlobalBlock = SIZE_T(1) << 30;

struct GlobalBlock {
    std::unique_ptr<unsigned char[]> data;
    SIZE_T size;
    bool moveable;
    unsigned locks = 0;
};

std::vector<std::unique_ptr<GlobalBlock>> g_blocks;

// A movable block's handle is the block record; a fixed block's handle is its address.
GlobalBlock* block_of(HGLOBAL handle) {
    if (handle == nullptr) return nullptr;
    for (auto& b : g_blocks) {
        if (b->moveable ? handle == static_cast<void*>(b.get()) : handle == static_cast<void*>(b->data.get()))
            return b.get();
    }
    return nullptr;
}

}  // namespace

namespace tarn_platform {

void reset_memory() {
    g_files.clear();
    g_blocks.clear();
}

}  // namespace tarn_platform

extern "C" {

HMMIO mmioOpenA(LPSTR, LPMMIOINFO info, DWORD) {
    if (info == nullptr) return nullptr;  // files on disk are not served here
    if (info->fccIOProc != FOURCC_MEM || info->pchBuffer == nullptr || info->cchBuffer < 0) {
        info->wErrorRet = MMIOERR_CANNOTOPEN;
        return nullptr;
    }
    auto file = std::unique_ptr<MemoryFile>(new (std::nothrow) MemoryFile{
        reinterpret_cast<const unsigned char*>(info->pchBuffer), uint64_t(info->cchBuffer), 0});
    if (file == nullptr) {
        info->wErrorRet = MMIOERR_OUTOFMEMORY;
        return nullptr;
    }
    HMMIO handle = reinterpret_cast<HMMIO>(file.get());
    g_files.push_back(std::move(file));
    info->wErrorRet = MMSYSERR_NOERROR;
    info->hmmio = handle;
    return handle;
}

LONG mmioRead(HMMIO handle, HPSTR out, LONG count) {
    MemoryFile* f = file_of(handle);
    if (f == nullptr || count < 0 || (out == nullptr && count > 0)) return -1;
    const uint64_t left = f->position < f->size ? f->size - f->position : 0;
    const uint64_t n = std::min<uint64_t>(uint64_t(count), left);
    if (n > 0) std::memcpy(out, f->base + f->position, size_t(n));
    f->position += n;
    return LONG(n);
}

MMRESULT mmioDescend(HMMIO handle, LPMMCKINFO ck, const MMCKINFO* parent, UINT flags) {
    MemoryFile* f = file_of(handle);
    if (f == nullptr) return MMSYSERR_INVALHANDLE;
    if (ck == nullptr) return MMSYSERR_INVALPARAM;
    uint64_t end = f->size;
    if (parent != nullptr) end = std::min<uint64_t>(end, uint64_t(parent->dwDataOffset) + parent->cksize);
    uint64_t at = f->position;
    for (;;) {
        if (at + 8 > end) return MMIOERR_CHUNKNOTFOUND;
        const FOURCC id = read_u32(f->base + at);
        const DWORD size = read_u32(f->base + at + 4);
        const bool form = id == FOURCC_RIFF || id == FOURCC_LIST;
        // A chunk that does not fit where it stands is not taken, and nothing after it
        // can be found: its size cannot be trusted to skip it.
        if (at + 8 + size > end || (form && (size < 4 || at + 12 > end))) return MMIOERR_CHUNKNOTFOUND;
        const FOURCC type = form ? read_u32(f->base + at + 8) : 0;
        bool match = true;
        if (flags & MMIO_FINDCHUNK) match = id == ck->ckid;
        else if (flags & MMIO_FINDRIFF) match = id == FOURCC_RIFF && type == ck->fccType;
        else if (flags & MMIO_FINDLIST) match = id == FOURCC_LIST && type == ck->fccType;
        if (match) {
            ck->ckid = id;
            ck->cksize = size;
            ck->fccType = type;
            ck->dwDataOffset = DWORD(at + 8);
            ck->dwFlags = 0;
            f->position = at + 8 + (form ? 4 : 0);
            return MMSYSERR_NOERROR;
        }
        at += 8 + uint64_t(size) + (size & 1);  // chunks are padded to an even size
    }
}

MMRESULT mmioAscend(HMMIO handle, LPMMCKINFO ck, UINT) {
    MemoryFile* f = file_of(handle);
    if (f == nullptr) return MMSYSERR_INVALHANDLE;
    if (ck == nullptr) return MMSYSERR_INVALPARAM;
    f->position = uint64_t(ck->dwDataOffset) + ck->cksize + (ck->cksize & 1);
    return MMSYSERR_NOERROR;
}

MMRESULT mmioClose(HMMIO handle, UINT) {
    auto it = std::find_if(g_files.begin(), g_files.end(),
                           [&](const auto& f) { return reinterpret_cast<HMMIO>(f.get()) == handle; });
    if (it == g_files.end()) return MMSYSERR_INVALHANDLE;
    g_files.erase(it);
    return MMSYSERR_NOERROR;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (bytes > kMaxGlobalBlock) return nullptr;
    auto block = std::unique_ptr<GlobalBlock>(new (std::nothrow) GlobalBlock{});
    if (block == nullptr) return nullptr;
    // Always zeroed (GMEM_ZEROINIT or not); a fixed block of no bytes still has an address.
    const SIZE_T size = bytes > 0 ? bytes : 1;
    block->data.reset(new (std::nothrow) unsigned char[size]());
    if (block->data == nullptr) return nullptr;
    block->size = bytes;
    block->moveable = (flags & GMEM_MOVEABLE) != 0;
    HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block.get()) : static_cast<HGLOBAL>(block->data.get());
    g_blocks.push_back(std::move(block));
    return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
    GlobalBlock* b = block_of(handle);
    if (b == nullptr || (b->moveable && b->size == 0)) return nullptr;  // a movable block of no bytes is discarded
    if (b->moveable) ++b->locks;
    return b->data.get();
}

BOOL GlobalUnlock(HGLOBAL handle) {
    GlobalBlock* b = block_of(handle);
    if (b == nullptr || b->locks == 0) return FALSE;
    return --b->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    GlobalBlock* b = block_of(handle);
    if (b == nullptr) return handle;
    g_blocks.erase(std::find_if(g_blocks.begin(), g_blocks.end(), [&](const auto& p) { return p.get() == b; }));
    return nullptr;
}

size_t tarn_platform_open_mmio_files(void) { return g_files.size(); }
size_t tarn_platform_global_blocks(void) { return g_blocks.size(); }

}  // extern "C"
