// Fuzz target: the Win32 text formatter. The input's first 128 bytes are sixteen arguments
// of 8 bytes, the rest is the format. A format with no 's' or 'S' in it reads no memory
// through its arguments, so they are passed as the random numbers they are; otherwise
// every argument is a pointer to a string of our own (its 8 bytes and a terminating zero
// unit, in a block of exactly that size), which is valid whatever field reads it. The
// output goes into a block of exactly 1024 bytes, and the count must be its length.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/win32.h"

namespace {

constexpr size_t kArgs = 16;
constexpr size_t kArgBytes = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kArgs * kArgBytes || size > kArgs * kArgBytes + 4096) return 0;
    const std::string format(reinterpret_cast<const char*>(data + kArgs * kArgBytes), size - kArgs * kArgBytes);
    size_t fields = 0;
    for (char c : format) fields += c == '%';
    if (fields > kArgs) return 0;  // each field takes one argument at most

    uint64_t numbers[kArgs];
    std::unique_ptr<unsigned char[]> strings[kArgs];
    const bool pointers = format.find_first_of("sS") != std::string::npos;
    for (size_t i = 0; i < kArgs; ++i) {
        std::memcpy(&numbers[i], data + i * kArgBytes, kArgBytes);
        if (pointers) {
            strings[i].reset(new unsigned char[kArgBytes + 2]);
            std::memcpy(strings[i].get(), data + i * kArgBytes, kArgBytes);
            strings[i][kArgBytes] = strings[i][kArgBytes + 1] = 0;
            numbers[i] = uint64_t(reinterpret_cast<uintptr_t>(strings[i].get()));
        }
    }
    std::unique_ptr<char[]> out(new char[1024]);
    const int n = wsprintfA(out.get(), format.c_str(), numbers[0], numbers[1], numbers[2], numbers[3], numbers[4],
                            numbers[5], numbers[6], numbers[7], numbers[8], numbers[9], numbers[10], numbers[11],
                            numbers[12], numbers[13], numbers[14], numbers[15]);
    if (n < 0 || n > 1023 || std::strlen(out.get()) != size_t(n)) {
        std::fprintf(stderr, "wsprintf_fuzz: count %d for an output of %zu characters\n", n, std::strlen(out.get()));
        std::abort();
    }
    return 0;
}
