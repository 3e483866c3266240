#include "host/core/plugin.h"

#include <algorithm>
#include <cctype>

#include <cstdio>
#include <cstring>

#include "host/core/errors.h"
#include "host/core/module_file.h"
#include "host/core/x87.h"
#include "platform/host_control.h"

namespace tarn {

namespace {

uint32_t u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
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
    void* handle = module_file::open(path, name);
    // The module's start-up code may have reset the x87 unit; the run's mode holds.
    keep_x87_precision();
    std::unique_ptr<Plugin> p(new Plugin);
    p->handle_ = handle;
    p->name_ = name;
    p->path_ = path;
    p->import_table_ = static_cast<IMPORT_TABLE*>(module_file::symbol(handle, "ImportTable"));
    p->linkage_ = static_cast<GAUGESLINKAGE*>(module_file::symbol(handle, "Linkage"));
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
    p->resources_ = module_file::resource_directory(handle);
    if (p->resources_.size > 0) {
        HMODULE m = tarn_platform_register_module(p->resources_.data, p->resources_.size);
        if (m == nullptr) throw HostError(path + ": the module's resource directory is malformed");
        p->directory_ = UINT32(reinterpret_cast<uintptr_t>(m));
    }
    p->resource_handle_ = module_file::resource_handle(handle, p->directory_);
    p->import_table_->PANELSentry.fnptr = services;
    if (p->linkage_->ModuleInit) p->linkage_->ModuleInit();
    p->initialised_ = true;
    return p;
}

Plugin::~Plugin() {
    if (initialised_ && linkage_->ModuleDeinit) linkage_->ModuleDeinit();
    if (directory_) tarn_platform_unregister_module(reinterpret_cast<HMODULE>(uintptr_t(directory_)));
    if (handle_) module_file::close(handle_);
}

// The gauge of that name, else one whose name differs only in case; "" is the first gauge
// (a panel line naming only the module).
GAUGEHDR* Plugin::find(const std::string& gauge) const {
    if (gauge.empty()) return gauges_.empty() ? nullptr : gauges_.front();
    for (GAUGEHDR* g : gauges_)
        if (gauge == g->gauge_name) return g;
    for (GAUGEHDR* g : gauges_) {
        const std::string name = g->gauge_name;
        if (name.size() == gauge.size() && std::equal(name.begin(), name.end(), gauge.begin(), [](char a, char b) {
                return std::tolower((unsigned char)a) == std::tolower((unsigned char)b);
            }))
            return g;
    }
    return nullptr;
}

const void* Plugin::resource(uint32_t id, const char* type, size_t* size) const {
    if (directory_ == 0) return nullptr;
    return tarn_platform_find_resource(reinterpret_cast<HMODULE>(uintptr_t(directory_)), id, type, size);
}

bool Plugin::bitmap(int32_t id, BitmapInfo& info) const {
    size_t size = 0;
    const void* data = resource(uint32_t(id), "BITMAP", &size);
    return data != nullptr && read_bitmap_info(data, size, info);
}

}  // namespace tarn
