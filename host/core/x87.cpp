#include "host/core/x87.h"

#include <cstdint>

namespace tarn {

namespace {

// Precision control: bits 8 and 9 of the control word.
constexpr uint16_t kPrecisionMask = 0x0300;
constexpr uint16_t kSingle = 0x0000, kDouble = 0x0200, kExtended = 0x0300;

int g_mode = -1;  // the precision bits to keep, or -1: leave the unit alone

#if defined(__i386__) || defined(__x86_64__)
constexpr bool kHasX87 = true;
uint16_t control_word() {
    uint16_t cw = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
    return cw;
}
void set_control_word(uint16_t cw) { __asm__ __volatile__("fldcw %0" : : "m"(cw)); }
#else
constexpr bool kHasX87 = false;
uint16_t control_word() { return 0; }
void set_control_word(uint16_t) {}
#endif

}  // namespace

bool set_x87_precision(const std::string& mode, std::string* why) {
    int bits;
    if (mode == "default") bits = -1;
    else if (mode == "single") bits = kSingle;
    else if (mode == "double") bits = kDouble;
    else if (mode == "extended") bits = kExtended;
    else {
        if (why) *why = "--x87 wants default, single, double or extended, got '" + mode.substr(0, 40) + "'";
        return false;
    }
    if (bits >= 0 && !kHasX87) {
        if (why) *why = "--x87 " + mode + ": this machine has no x87 unit";
        return false;
    }
    g_mode = bits;
    keep_x87_precision();
    return true;
}

void keep_x87_precision() {
    if (g_mode < 0) return;
    const uint16_t cw = control_word();
    if ((cw & kPrecisionMask) != g_mode) set_control_word(uint16_t((cw & ~kPrecisionMask) | g_mode));
}

std::string x87_precision_now() {
    if (!kHasX87) return "none";
    switch (control_word() & kPrecisionMask) {
        case kSingle: return "single";
        case kDouble: return "double";
        default: return "extended";  // 0x0300 (0x0100 is reserved and reads as extended here)
    }
}

}  // namespace tarn
