// What the fuzz targets share: where the gauge modules are, and keeping them loaded.
//
//   const std::string dir = fuzz_gauges_dir();      // TARN_FUZZ_GAUGES, else the build's gauges folder
//   keep_modules_loaded(dir);                       // once, in LLVMFuzzerInitialize
//
// The modules carry coverage counters that the fuzzer reads; a module that is unloaded
// and loaded again would leave it reading unmapped counters. So each target loads every
// module once for good (RTLD_NODELETE); the host's own loads then share that copy, and
// module variables keep their values from one input to the next.
#ifndef TARN_TESTS_FUZZ_FUZZ_COMMON_H
#define TARN_TESTS_FUZZ_FUZZ_COMMON_H

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string fuzz_gauges_dir() {
    const char* dir = std::getenv("TARN_FUZZ_GAUGES");
    return dir != nullptr && *dir != '\0' ? dir : TARN_GAUGES_DIR;
}

inline void keep_modules_loaded(const std::string& dir) {
    for (const char* name : {"TARN", "TARN2_Instruments"}) {
        const std::string path = dir + "/" + name + ".gau";
        if (dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE) == nullptr) {
            std::fprintf(stderr, "fuzz: cannot load %s: %s\n", path.c_str(), dlerror());
            std::abort();
        }
    }
}

#endif
