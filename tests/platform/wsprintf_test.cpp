// The Win32 text formatter against its documented behaviour, and against the choices the
// formatter makes where that behaviour is open (see platform/wsprintf.cpp).
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr unsigned char kCanary = 0x5A;

// Formats into a full-size buffer and checks that the count returned is the length stored.
template <typename... Args>
std::string fmt(const char* format, Args... args) {
    char buffer[1024];
    std::memset(buffer, kCanary, sizeof buffer);
    int count = wsprintfA(buffer, format, args...);
    EXPECT_EQ(static_cast<size_t>(count), std::strlen(buffer)) << "format: " << format;
    return std::string(buffer);
}

std::string list_fmt(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int count = wvsprintfA(buffer, format, args);
    va_end(args);
    EXPECT_EQ(static_cast<size_t>(count), std::strlen(buffer));
    return std::string(buffer);
}

// A buffer larger than the formatter may use, so anything written past out[1023] shows.
struct GuardedBuffer {
    char bytes[1200];
    GuardedBuffer() { std::memset(bytes, kCanary, sizeof bytes); }
    bool untouched_after_limit() const {
        for (size_t i = 1024; i < sizeof bytes; ++i)
            if (static_cast<unsigned char>(bytes[i]) != kCanary) return false;
        return true;
    }
};

TEST(Wsprintf, IntegersOfEachSize) {
    // Plain decimal, both spellings, both signs, and the extremes of a 32-bit int.
    EXPECT_EQ(fmt("%d %i", 42, -42), "42 -42");
    EXPECT_EQ(fmt("%d", INT_MIN), "-2147483648");
    EXPECT_EQ(fmt("%d", INT_MAX), "2147483647");
    // %u shows a negative argument as its 32-bit unsigned value.
    EXPECT_EQ(fmt("%u", -42), "4294967254");
    // Hexadecimal in both cases.
    EXPECT_EQ(fmt("%x %X", 0xBEEFu, 0xBEEFu), "beef BEEF");
    EXPECT_EQ(fmt("%x", -1), "ffffffff");
    // h keeps the low 16 bits, signed for d and unsigned for u and x.
    EXPECT_EQ(fmt("%hd", 70000), "4464");
    EXPECT_EQ(fmt("%hd", 0x18000), "-32768");
    EXPECT_EQ(fmt("%hu %hx", -1, 0x12345), "65535 2345");
    // l reads a long but keeps 32 bits, as a Win32 LONG is 32-bit.
    EXPECT_EQ(fmt("%ld", 0x100000005L), "5");
    EXPECT_EQ(fmt("%ld %li", -7L, -8L), "-7 -8");
    EXPECT_EQ(fmt("%lu %lx", -1L, 0x1ABCDEF01L), "4294967295 abcdef01");
    // I64 reads 64 bits; the most negative value survives negation.
    EXPECT_EQ(fmt("%I64d", LLONG_MIN), "-9223372036854775808");
    EXPECT_EQ(fmt("%I64u", ULLONG_MAX), "18446744073709551615");
    EXPECT_EQ(fmt("%I64X", 0x0123456789ABCDEFULL), "123456789ABCDEF");
    // I alone is pointer-sized, I32 is 32-bit; the argument after each is read from the right place.
    EXPECT_EQ(fmt("%Ix,%d", static_cast<size_t>(0x123456789abULL), 9), "123456789ab,9");
    EXPECT_EQ(fmt("%I32d,%d", -3, 4), "-3,4");
    // A pointer is uppercase hexadecimal filled to its full 16 digits.
    EXPECT_EQ(fmt("%p", reinterpret_cast<void*>(0x1234ab)), "00000000001234AB");
}

TEST(Wsprintf, WidthFlagsAndPrecisionOnNumbers) {
    // Width pads with blanks on the left; '-' moves the padding to the right.
    EXPECT_EQ(fmt("[%5d]", 42), "[   42]");
    EXPECT_EQ(fmt("[%-5d]", 42), "[42   ]");
    // Width never truncates.
    EXPECT_EQ(fmt("[%2d]", 12345), "[12345]");
    // '0' pads with zeros, after the sign.
    EXPECT_EQ(fmt("%05d", 42), "00042");
    EXPECT_EQ(fmt("%05d", -42), "-0042");
    // '-' wins over '0': left-justified fields are blank-padded on the right.
    EXPECT_EQ(fmt("[%-05d]", 42), "[42   ]");
    // '#' prefixes hexadecimal in the case of the type, zero included; not decimal.
    EXPECT_EQ(fmt("%#x %#X", 42, 42), "0x2a 0X2A");
    EXPECT_EQ(fmt("%#x", 0), "0x0");
    EXPECT_EQ(fmt("%#d", 42), "42");
    // The prefix counts towards the width and zeros go between it and the digits.
    EXPECT_EQ(fmt("[%#6x]", 42), "[  0x2a]");
    EXPECT_EQ(fmt("%#06x", 42), "0x002a");
    // Precision is a minimum digit count, zeros after the sign, never truncating.
    EXPECT_EQ(fmt("%.3d", 5), "005");
    EXPECT_EQ(fmt("%.3d", -5), "-005");
    EXPECT_EQ(fmt("[%6.3d]", 5), "[   005]");
    EXPECT_EQ(fmt("[%-6.3x]", 0xa), "[00a   ]");
    EXPECT_EQ(fmt("%.2d", 12345), "12345");
    // A precision of 0, or a bare '.', means 1: zero still prints a digit.
    EXPECT_EQ(fmt("%.0d|%.d|%.0x", 0, 0, 0), "0|0|0");
    // '0' still fills the field when a precision is given.
    EXPECT_EQ(fmt("%06.3d", 7), "000007");
    // Flags are accepted in any order.
    EXPECT_EQ(fmt("%0#6x", 42), "0x002a");
}

TEST(Wsprintf, StringsAndCharacters) {
    // Narrow strings, with width, '-', and '0' (which pads text too).
    EXPECT_EQ(fmt("%s, %s", "left", "right"), "left, right");
    EXPECT_EQ(fmt("[%5s][%-5s]", "ab", "ab"), "[   ab][ab   ]");
    EXPECT_EQ(fmt("%05s", "ab"), "000ab");
    // Precision is the most characters copied, and width then pads the shortened text.
    EXPECT_EQ(fmt("[%.3s]", "abcdef"), "[abc]");
    EXPECT_EQ(fmt("[%5.2s]", "abcdef"), "[   ab]");
    EXPECT_EQ(fmt("[%.0s]", "abc"), "[]");
    // With a precision nothing beyond it is read, so an unterminated buffer is safe.
    const char unterminated[3] = {'x', 'y', 'z'};
    EXPECT_EQ(fmt("%.3s", unterminated), "xyz");
    // A null string prints "(null)", shortened by precision like any other.
    EXPECT_EQ(fmt("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(fmt("%.3s", static_cast<const char*>(nullptr)), "(nu");
    // S, ls and ws are wide: units up to 0xFF are stored as that byte, others as '?'.
    const uint16_t wide[] = {'W', 'i', 0x263A, 0xE9, 0};
    EXPECT_EQ(fmt("%S|%ls|%ws", wide, wide, wide), "Wi?\xE9|Wi?\xE9|Wi?\xE9");
    EXPECT_EQ(fmt("[%-6.3S]", wide), "[Wi?   ]");
    EXPECT_EQ(fmt("%S", static_cast<const uint16_t*>(nullptr)), "(null)");
    // hs and hS are narrow whatever the case.
    EXPECT_EQ(fmt("%hs%hS", "na", "rrow"), "narrow");
    // Characters: c narrow (low byte), C and lc wide, with width and '-'.
    EXPECT_EQ(fmt("%c%c%c", 'A', 'b', 0x143), "AbC");
    EXPECT_EQ(fmt("%C%lc%C", 0x41, 0x42, 0x263A), "AB?");
    EXPECT_EQ(fmt("[%3c][%-3c]", 'x', 'y'), "[  x][y  ]");
    // A zero character stores nothing, its padding included.
    EXPECT_EQ(fmt("[%c][%3c][%lc]", 0, 0, 0), "[][][]");
}

TEST(Wsprintf, LiteralTextAndTypesWithoutMeaning) {
    // Text without specifications is copied; an empty format stores nothing.
    EXPECT_EQ(fmt("plain text"), "plain text");
    EXPECT_EQ(fmt(""), "");
    // %% stores one percent sign and uses no argument.
    EXPECT_EQ(fmt("100%% %d%%", 5), "100% 5%");
    // No floating point: the type character is copied, its width and precision dropped,
    // and no argument is used, so the next format field still gets the next argument.
    EXPECT_EQ(fmt("%f %d", 7), "f 7");
    EXPECT_EQ(fmt("[%5.2f][%e][%g]"), "[f][e][g]");
    EXPECT_EQ(fmt("%lf|%d", 3), "f|3");
    // Flags from other formatters have no meaning here and are copied the same way.
    EXPECT_EQ(fmt("%+d", 5), "+d");
    // A format field cut short by the end of the format stores nothing.
    EXPECT_EQ(fmt("abc%"), "abc");
    EXPECT_EQ(fmt("abc%-05.3"), "abc");
    // Arguments of mixed kinds are taken in order.
    EXPECT_EQ(fmt("%s=%d (%c) %x", "rpm", 2400, 'k', 255u), "rpm=2400 (k) ff");
}

TEST(Wsprintf, OutputStopsAtTheBufferLimit) {
    const std::string long_text(2000, 'a');
    std::string format_text(2000, 'b');

    // A 2000-character string stores exactly 1023 characters and the terminating zero.
    {
        GuardedBuffer out;
        EXPECT_EQ(wsprintfA(out.bytes, "%s", long_text.c_str()), 1023);
        EXPECT_EQ(out.bytes[1022], 'a');
        EXPECT_EQ(out.bytes[1023], '\0');
        EXPECT_TRUE(out.untouched_after_limit());
    }
    // Literal text in the format is capped the same way.
    {
        GuardedBuffer out;
        EXPECT_EQ(wsprintfA(out.bytes, format_text.c_str()), 1023);
        EXPECT_EQ(std::strlen(out.bytes), 1023u);
        EXPECT_TRUE(out.untouched_after_limit());
    }
    // Padding and precision zeros are capped too, whether before or after the value.
    for (const char* format : {"%2000d", "%-2000d", "%02000d", "%.2000d", "%99999999999999999999d"}) {
        GuardedBuffer out;
        EXPECT_EQ(wsprintfA(out.bytes, format, 7), 1023) << format;
        EXPECT_EQ(out.bytes[1023], '\0') << format;
        EXPECT_TRUE(out.untouched_after_limit()) << format;
    }
    for (const char* format : {"%2000s", "%-2000s", "%02000s"}) {
        GuardedBuffer out;
        EXPECT_EQ(wsprintfA(out.bytes, format, "text"), 1023) << format;
        EXPECT_EQ(out.bytes[1023], '\0') << format;
        EXPECT_TRUE(out.untouched_after_limit()) << format;
    }
    // The limit falling inside a number keeps its leading digits.
    {
        GuardedBuffer out;
        format_text.assign(1020, 'b');
        format_text += "%d";
        EXPECT_EQ(wsprintfA(out.bytes, format_text.c_str(), 123456), 1023);
        EXPECT_STREQ(out.bytes + 1020, "123");
        EXPECT_TRUE(out.untouched_after_limit());
    }
    // A result of exactly 1023 characters fits whole; one of 1022 is not affected.
    {
        GuardedBuffer out;
        EXPECT_EQ(wsprintfA(out.bytes, "%s", long_text.substr(0, 1023).c_str()), 1023);
        EXPECT_EQ(out.bytes[1023], '\0');
        EXPECT_EQ(wsprintfA(out.bytes, "%s!", long_text.substr(0, 1021).c_str()), 1022);
        EXPECT_EQ(out.bytes[1021], '!');
        EXPECT_TRUE(out.untouched_after_limit());
    }
}

TEST(Wvsprintf, FormatsFromAnArgumentList) {
    // The list form reads the same arguments the same way as the variadic form.
    EXPECT_EQ(list_fmt("%s %05d %#x %I64d", "gauge", -42, 255u, LLONG_MIN),
              "gauge -0042 0xff -9223372036854775808");
    EXPECT_EQ(list_fmt("%hd|%c|%%", 70000, 'z'), "4464|z|%");
}

}  // namespace
