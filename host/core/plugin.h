// A gauge module loaded into the host: its ImportTable filled with the host's service
// table, its Linkage read, its resources registered with the platform layer.
//
//   Plugin p = Plugin::load("build/gauges/TARN.gau", "TARN", services);
//   GAUGEHDR* g = p.find("Magnetos");
//   // ... instances ...
//   // ~Plugin: ModuleDeinit, resources released, module unloaded
#ifndef TARN_HOST_PLUGIN_H
#define TARN_HOST_PLUGIN_H

#include <memory>
#include <string>
#include <vector>

#include "framework/linkage.h"
#include "host/core/module_file.h"

namespace tarn {

// Size of a bitmap resource, read from its header.
struct BitmapInfo {
    int width = 0;
    int height = 0;
    int bits = 0;
};

class Plugin {
public:
    // Throws HostError: the file cannot be loaded, or lacks ImportTable or Linkage.
    static std::unique_ptr<Plugin> load(const std::string& path, const std::string& name,
                                        PANEL_SERVICE_TABLE* services);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    const std::string& name() const { return name_; }
    const std::string& path() const { return path_; }
    GAUGEHDR* find(const std::string& gauge) const;
    const std::vector<GAUGEHDR*>& gauges() const { return gauges_; }
    GAUGESLINKAGE* linkage() const { return linkage_; }
    IMPORT_TABLE* import_table() const { return import_table_; }

    // The 32-bit resource handle handed to the module at pre-install: on Windows the
    // module's own handle, elsewhere its resource directory's (0 when it has none).
    UINT32 resource_handle() const { return resource_handle_; }
    // A bitmap resource's size, or false when there is no such bitmap or it is malformed.
    bool bitmap(int32_t id, BitmapInfo& info) const;
    // A resource's bytes, or nullptr.
    const void* resource(uint32_t id, const char* type, size_t* size) const;

private:
    Plugin() = default;
    std::string name_;
    std::string path_;
    void* handle_ = nullptr;
    IMPORT_TABLE* import_table_ = nullptr;
    GAUGESLINKAGE* linkage_ = nullptr;
    std::vector<GAUGEHDR*> gauges_;
    UINT32 resource_handle_ = 0;
    UINT32 directory_ = 0;                // the resources as registered with the platform layer
    module_file::ResourceDirectory resources_;  // what the registered directory points into
    bool initialised_ = false;
};

// Size of a device-independent bitmap from its header; false when malformed.
bool read_bitmap_info(const void* data, size_t size, BitmapInfo& info);

}  // namespace tarn

#endif
