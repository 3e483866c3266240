// A module file as the operating system loads it: the one place where the host's core
// differs between Linux (dlopen) and Windows (LoadLibraryA). Used by Plugin only.
//
//   void* h = module_file::open("gauges/TARN.gau", "TARN");      // throws HostError
//   auto* table = static_cast<IMPORT_TABLE*>(module_file::symbol(h, "ImportTable"));
//   module_file::close(h);
#ifndef TARN_HOST_CORE_MODULE_FILE_H
#define TARN_HOST_CORE_MODULE_FILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace tarn::module_file {

// Loads the file. On Windows the module's imports of the functions the host controls
// (the clock, sounds, the host executable and window, DirectSound) are then pointed at
// the platform layer's stand-ins. Throws HostError naming the module and file.
void* open(const std::string& path, const std::string& name);
// An exported symbol's address, or nullptr.
void* symbol(void* handle, const char* name);
void close(void* handle);
// The module's resources as a resource directory for the platform layer (the blob that
// tarn_platform_register_module takes; empty when it has none): on Linux the one the
// module carries, which `data` points into; on Windows one made from the module's own
// bitmap and WAVE resources, held in `made`.
struct ResourceDirectory {
    const unsigned char* data = nullptr;
    size_t size = 0;
    std::vector<unsigned char> made;
};
ResourceDirectory resource_directory(void* handle);
// The handle the module's gauges get at pre-install to find their resources: the module
// itself on Windows, the registered directory elsewhere.
uint32_t resource_handle(void* handle, uint32_t directory);

}  // namespace tarn::module_file

#endif
