#include "instruments/registration_params.h"

#include <cstdlib>
#include <cstring>

#include "instruments/params.h"

namespace {

// The colour byte that option `key` sets, when the key is found in `options` before
// `end` (the font option, or NULL): the decimal number right after the key (leading
// digits, 0 when none); any number beyond 0..255, taken as unsigned, is 255.
unsigned option_byte(const char* options, const char* end, char key, unsigned fallback) {
    const char* found = param_has_key(options, key);
    if (found == nullptr || (end != nullptr && found >= end)) return fallback;
    const long number = std::strtol(found + 1, nullptr, 10);  // saturates instead of overflowing
    return number < 0 || number > 255 ? 255u : unsigned(number);
}

}  // namespace

extern "C" void registration_text_from(const char* params, char* out, size_t out_size, size_t max_chars) {
    if (out == nullptr || out_size == 0) return;
    const char* p = params != nullptr ? params : "";
    const char* text = param_has_key(p, 't') == p ? p + 1 : REGISTRATION_DEFAULT_TEXT;
    // The registration ends at its first blank; the options follow it.
    const char* blank = param_has_key(text, ' ');
    size_t length = blank != nullptr ? size_t(blank - text) : std::strlen(text);
    if (length > max_chars) length = max_chars;
    if (length > out_size - 1) length = out_size - 1;
    std::memcpy(out, text, length);
    out[length] = '\0';
    // Each underscore the key search sees becomes a blank.
    for (char* u; (u = const_cast<char*>(param_has_key(out, '_'))) != nullptr;) *u = ' ';
}

extern "C" BOOL registration_apply_options(const char* params, COLORREF* color, char* font, size_t font_size) {
    if (params == nullptr || color == nullptr) return FALSE;
    const char* blank = param_has_key(params, ' ');
    if (blank == nullptr) return FALSE;
    const char* options = blank + 1;
    // The font runs to the end of the string and ends the options: keys after it are not
    // options.
    const char* font_key = param_has_key(options, 'f');
    if (font_key != nullptr && font != nullptr && font_size > 0) {
        size_t length = std::strlen(font_key + 1);
        if (length > font_size - 1) length = font_size - 1;
        std::memcpy(font, font_key + 1, length);
        font[length] = '\0';
    }
    const unsigned red = option_byte(options, font_key, 'r', *color & 0xff);
    const unsigned green = option_byte(options, font_key, 'g', (*color >> 8) & 0xff);
    const unsigned blue = option_byte(options, font_key, 'b', (*color >> 16) & 0xff);
    *color = COLORREF(red + 256 * green + 65536 * blue);
    return TRUE;
}
