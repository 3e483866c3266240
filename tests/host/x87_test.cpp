// --x87: the precision control is set, read back, kept over a reset, and bad modes are refused.
#include <gtest/gtest.h>

#include <string>

#include "host/core/x87.h"

namespace {

#if defined(__i386__) || defined(__x86_64__)
// Each mode reaches the unit; a module load that resets the control word (simulated by
// setting it behind the host's back) is undone by keep_x87_precision.
TEST(X87, EachModeIsSetAndKept) {
    const std::string before = tarn::x87_precision_now();
    std::string why;
    for (const char* mode : {"single", "double", "extended"}) {
        ASSERT_TRUE(tarn::set_x87_precision(mode, &why)) << why;
        EXPECT_EQ(tarn::x87_precision_now(), mode);
    }
    ASSERT_TRUE(tarn::set_x87_precision("single", &why));
    uint16_t cw = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(cw));
    cw = uint16_t(cw | 0x0300);  // what a start-up routine resetting the unit leaves
    __asm__ __volatile__("fldcw %0" : : "m"(cw));
    EXPECT_EQ(tarn::x87_precision_now(), "extended");
    tarn::keep_x87_precision();
    EXPECT_EQ(tarn::x87_precision_now(), "single");
    // Single precision really rounds long double arithmetic to 24 bits.
    volatile long double third = 1.0L;
    third = third / 3.0L;
    EXPECT_EQ(double(third), double(1.0f / 3.0f));
    // Back to how the process had it; "default" then leaves the unit alone.
    ASSERT_TRUE(tarn::set_x87_precision(before, &why)) << why;
    ASSERT_TRUE(tarn::set_x87_precision("default", &why));
    EXPECT_EQ(tarn::x87_precision_now(), before);
}
#endif

TEST(X87, UnknownModesAreRefusedByName) {
    std::string why;
    EXPECT_FALSE(tarn::set_x87_precision("quad", &why));
    EXPECT_EQ(why, "--x87 wants default, single, double or extended, got 'quad'");
    EXPECT_FALSE(tarn::set_x87_precision("", &why));
}

}  // namespace
