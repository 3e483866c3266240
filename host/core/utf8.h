// UTF-8 in the host: characters written and read back.
#ifndef TARN_HOST_UTF8_H
#define TARN_HOST_UTF8_H

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// Appends one character (a code point below 0x110000) as UTF-8.
inline void append_utf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// UTF-8 text as characters (a byte that starts no sequence stands for itself).
inline std::vector<uint32_t> utf8_chars(const std::string& s) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = (unsigned char)s[i];
        const size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        uint32_t code = n == 1 ? c : c & (0x7F >> n);
        size_t k = 1;
        for (; k < n && i + k < s.size() && ((unsigned char)s[i + k] & 0xC0) == 0x80; ++k)
            code = code << 6 | ((unsigned char)s[i + k] & 0x3F);
        out.push_back(k == n ? code : c);
        i += k == n ? n : 1;
    }
    return out;
}

}  // namespace tarn

#endif
