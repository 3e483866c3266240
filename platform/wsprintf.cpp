// The Win32 text formatter, wsprintfA and wvsprintfA.
//
// A format field reads %[-][#][0][width][.precision][size]type:
//   flags     '-' left-justifies, '#' puts 0x / 0X before hexadecimal numbers, '0' pads with
//             zeros instead of blanks. Flags are taken in any order.
//   width     decimal digits, the minimum field width; never truncates.
//   precision decimal digits after '.'; for numbers the minimum digit count (0, or a bare '.',
//             means 1, so "%.0d" of 0 is "0"); for strings the most characters copied.
//   size      h (16 bits, narrow text), l or w (32 bits, wide text), I (pointer size, 64 bits
//             here), I64, I32.
//   type      c C d i u x X p s S; anything else is copied as is.
//
// Choices where the behaviour is not spelled out, each kept deliberately:
//   - A type character with no meaning (f, e, g, '+', ' ', ...) is copied to the output as is
//     and its flags, width and precision are dropped; no argument is consumed. So "%5.2f"
//     gives "f", as callers who try floating point get from the Win32 formatter.
//   - '-' wins over '0': a left-justified field is padded with blanks on the right.
//   - '0' pads every kind of field, strings and characters included, and still applies when a
//     precision is given: "%05s" of "ab" is "000ab", "%06.3d" of 7 is "000007".
//   - '#' prefixes every hexadecimal value, zero included ("%#x" of 0 is "0x0").
//   - A character argument of zero stores nothing, padding included.
//   - A null string pointer prints "(null)", subject to precision and width like any string.
//   - A wide string or character unit above 0xFF is stored as '?'; units up to 0xFF are
//     stored as the byte of the same value.
//   - %p prints the address as uppercase hexadecimal, zero-filled to 16 digits.
//   - Output stops at 1023 characters plus the terminating zero; the count then returns
//     1023, which is below the length of the full result.
//   - A '%' at the very end of the format (with or without flags and digits) stores nothing.
#include "platform/win32.h"

#include <stddef.h>
#include <stdint.h>

#if !defined(TARN_PLATFORM_API)
#define TARN_PLATFORM_API __attribute__((visibility("default")))
#endif

namespace {

// The buffer holds 1024 bytes: 1023 characters and the terminating zero.
constexpr int kMaxChars = 1023;

// Digits of a width or precision beyond this cannot change the result, since no field can
// be wider than the buffer; clamping keeps the accumulation from overflowing.
constexpr int kMaxFieldDigits = kMaxChars + 1;

class Output {
public:
    explicit Output(char* buffer) : buffer_(buffer) {}

    void put(char c) {
        if (count_ < kMaxChars) buffer_[count_++] = c;
    }

    void repeat(char c, int times) {
        for (int i = 0; i < times && count_ < kMaxChars; ++i) buffer_[count_++] = c;
    }

    bool full() const { return count_ >= kMaxChars; }

    int finish() {
        buffer_[count_] = '\0';
        return count_;
    }

private:
    char* buffer_;
    int count_ = 0;
};

enum class Size { Default, Short, Long, Pointer, Bits64, Bits32 };

struct Spec {
    bool left = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    bool has_precision = false;
    int precision = 0;
    Size size = Size::Default;
};

int read_number(const char*& p) {
    int value = 0;
    while (*p >= '0' && *p <= '9') {
        if (value < kMaxFieldDigits) value = value * 10 + (*p - '0');
        if (value > kMaxFieldDigits) value = kMaxFieldDigits;
        ++p;
    }
    return value;
}

// Pads `length` characters of content out to the field width, on the side the flags ask for.
int padding_for(const Spec& spec, int length) {
    return spec.width > length ? spec.width - length : 0;
}

// Text of known length, fetched one character at a time, padded to the field width.
template <typename Fetch>
void put_text(Output& out, const Spec& spec, int length, Fetch fetch) {
    int pad = padding_for(spec, length);
    if (!spec.left) out.repeat(spec.zero ? '0' : ' ', pad);
    for (int i = 0; i < length && !out.full(); ++i) out.put(fetch(i));
    if (spec.left) out.repeat(' ', pad);
}

char narrow_unit(uint32_t unit) { return unit > 0xFF ? '?' : static_cast<char>(unit); }

// How many characters of a string to copy: up to the terminator, or the precision if sooner.
// Never looks past the precision, so an unterminated buffer with a precision is safe.
template <typename Unit>
int copy_length(const Unit* s, const Spec& spec) {
    int limit = spec.has_precision ? spec.precision : kMaxChars;
    int n = 0;
    while (n < limit && s[n] != 0) ++n;
    return n;
}

void put_narrow_string(Output& out, const Spec& spec, const char* s) {
    if (s == nullptr) s = "(null)";
    put_text(out, spec, copy_length(s, spec), [s](int i) { return s[i]; });
}

void put_wide_string(Output& out, const Spec& spec, const uint16_t* s) {
    if (s == nullptr) {
        put_narrow_string(out, spec, nullptr);
        return;
    }
    put_text(out, spec, copy_length(s, spec), [s](int i) { return narrow_unit(s[i]); });
}

void put_character(Output& out, const Spec& spec, char c) {
    if (c == '\0') return;
    put_text(out, spec, 1, [c](int) { return c; });
}

void put_number(Output& out, const Spec& spec, uint64_t magnitude, bool negative, unsigned base,
                bool upper, int min_digits) {
    char digits[24];
    int count = 0;
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[count++] = set[magnitude % base];
        magnitude /= base;
    } while (magnitude != 0);

    char prefix[2];
    int prefix_length = 0;
    if (negative) {
        prefix[prefix_length++] = '-';
    } else if (spec.alternate && base == 16) {
        prefix[prefix_length++] = '0';
        prefix[prefix_length++] = upper ? 'X' : 'x';
    }

    int precision = spec.has_precision && spec.precision > 0 ? spec.precision : 1;
    if (precision < min_digits) precision = min_digits;
    int leading_zeros = precision > count ? precision - count : 0;
    int pad = padding_for(spec, prefix_length + leading_zeros + count);

    if (!spec.left && !spec.zero) out.repeat(' ', pad);
    for (int i = 0; i < prefix_length; ++i) out.put(prefix[i]);
    if (!spec.left && spec.zero) out.repeat('0', pad);
    out.repeat('0', leading_zeros);
    while (count > 0 && !out.full()) out.put(digits[--count]);
    if (spec.left) out.repeat(' ', pad);
}

// Reads a signed integer argument of the given size, widened to 64 bits. Arguments narrower
// than int arrive promoted to int; a Win32 LONG is 32 bits, so l keeps the low 32 bits.
int64_t read_signed(va_list* args, Size size) {
    switch (size) {
    case Size::Short:
        return static_cast<int16_t>(va_arg(*args, int));
    case Size::Long:
        return static_cast<int32_t>(va_arg(*args, long));
    case Size::Pointer:
    case Size::Bits64:
        return static_cast<int64_t>(va_arg(*args, long long));
    case Size::Default:
    case Size::Bits32:
        break;
    }
    return va_arg(*args, int);
}

uint64_t read_unsigned(va_list* args, Size size) {
    switch (size) {
    case Size::Short:
        return static_cast<uint16_t>(va_arg(*args, unsigned int));
    case Size::Long:
        return static_cast<uint32_t>(va_arg(*args, unsigned long));
    case Size::Pointer:
    case Size::Bits64:
        return static_cast<uint64_t>(va_arg(*args, unsigned long long));
    case Size::Default:
    case Size::Bits32:
        break;
    }
    return va_arg(*args, unsigned int);
}

// Reads the size prefix, if any, leaving `p` on the type character.
Size read_size(const char*& p) {
    switch (*p) {
    case 'h':
        ++p;
        return Size::Short;
    case 'l':
    case 'w':
        ++p;
        return Size::Long;
    case 'I':
        ++p;
        if (p[0] == '6' && p[1] == '4') {
            p += 2;
            return Size::Bits64;
        }
        if (p[0] == '3' && p[1] == '2') {
            p += 2;
            return Size::Bits32;
        }
        return Size::Pointer;
    default:
        return Size::Default;
    }
}

// Formats one format field; `p` points just past the '%' and is left past the type.
void format_one(Output& out, const char*& p, va_list* args) {
    Spec spec;
    for (;; ++p) {
        if (*p == '-') spec.left = true;
        else if (*p == '#') spec.alternate = true;
        else if (*p == '0') spec.zero = true;
        else break;
    }
    spec.width = read_number(p);
    if (*p == '.') {
        ++p;
        spec.has_precision = true;
        spec.precision = read_number(p);
    }
    spec.size = read_size(p);

    const char type = *p;
    if (type == '\0') return;  // a dangling format field at the end stores nothing
    ++p;

    // Whether text is wide depends on the type's case and the size prefix: on this narrow
    // formatter c and s are narrow, C and S wide, h forces narrow and l / w force wide.
    const bool wide_text =
        spec.size == Size::Long || (spec.size != Size::Short && (type == 'C' || type == 'S'));

    switch (type) {
    case 'c':
    case 'C': {
        unsigned int unit = va_arg(*args, unsigned int);
        put_character(out, spec,
                      wide_text ? narrow_unit(static_cast<uint16_t>(unit))
                                : static_cast<char>(unit & 0xFF));
        return;
    }
    case 's':
    case 'S':
        if (wide_text) put_wide_string(out, spec, va_arg(*args, const uint16_t*));
        else put_narrow_string(out, spec, va_arg(*args, const char*));
        return;
    case 'd':
    case 'i': {
        int64_t value = read_signed(args, spec.size);
        uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
        put_number(out, spec, magnitude, value < 0, 10, false, 1);
        return;
    }
    case 'u':
        put_number(out, spec, read_unsigned(args, spec.size), false, 10, false, 1);
        return;
    case 'x':
    case 'X':
        put_number(out, spec, read_unsigned(args, spec.size), false, 16, type == 'X', 1);
        return;
    case 'p': {
        uintptr_t address = reinterpret_cast<uintptr_t>(va_arg(*args, const void*));
        put_number(out, spec, address, false, 16, true, static_cast<int>(2 * sizeof(void*)));
        return;
    }
    default:
        // No meaning as a type: the character itself is stored, '%' of "%%" among them.
        out.put(type);
        return;
    }
}

}  // namespace

extern "C" TARN_PLATFORM_API int wvsprintfA(char* out, const char* format, va_list args) {
    if (out == nullptr) return 0;
    Output output(out);
    if (format == nullptr) return output.finish();

    va_list walk;
    va_copy(walk, args);
    const char* p = format;
    while (*p != '\0' && !output.full()) {
        if (*p != '%') {
            output.put(*p++);
            continue;
        }
        ++p;
        format_one(output, p, &walk);
    }
    va_end(walk);
    return output.finish();
}

extern "C" TARN_PLATFORM_API int wsprintfA(char* out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int count = wvsprintfA(out, format, args);
    va_end(args);
    return count;
}
