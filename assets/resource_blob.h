// What the build's resource tools (tarn-rc, tarn-art) share: the resource record, the
// little-endian writers, the header of a 24-bit bitmap, and the resource directory blob.
//
//   std::vector<Resource> rs = ...;
//   std::vector<unsigned char> dib; put_dib_header(dib, w, h);   // then bottom-up BGR rows
//   write(make_blob(rs));
//
// Blob: "TRES", count (u32), count entries of {id u32, type char[8], offset u32, size u32},
// then the data, each item aligned to 4 bytes. All numbers little-endian.
#ifndef TARN_ASSETS_RESOURCE_BLOB_H
#define TARN_ASSETS_RESOURCE_BLOB_H

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace tarn_assets {

struct Resource {
    uint32_t id;
    std::string type;
    std::vector<unsigned char> data;
};

inline void put_u32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

inline void put_u16(std::vector<unsigned char>& out, uint16_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}

// The header of a 24-bit bottom-up device-independent bitmap; rows of `width` BGR pixels,
// each padded to 4 bytes, follow it from the bottom row up.
inline void put_dib_header(std::vector<unsigned char>& out, uint32_t width, uint32_t height) {
    const uint32_t stride = (width * 3 + 3) & ~3u;
    put_u32(out, 40);
    put_u32(out, width);
    put_u32(out, height);  // positive: bottom-up rows
    put_u16(out, 1);
    put_u16(out, 24);
    put_u32(out, 0);  // uncompressed
    put_u32(out, stride * height);
    put_u32(out, 2835);
    put_u32(out, 2835);
    put_u32(out, 0);
    put_u32(out, 0);
}

inline std::vector<unsigned char> make_blob(const std::vector<Resource>& resources) {
    std::vector<unsigned char> out;
    for (char c : {'T', 'R', 'E', 'S'}) out.push_back(static_cast<unsigned char>(c));
    put_u32(out, static_cast<uint32_t>(resources.size()));
    size_t offset = 8 + 20 * resources.size();
    for (const Resource& r : resources) {
        offset = (offset + 3) & ~size_t(3);
        put_u32(out, r.id);
        char type[8] = {};
        r.type.copy(type, 8);
        for (char c : type) out.push_back(static_cast<unsigned char>(c));
        put_u32(out, static_cast<uint32_t>(offset));
        put_u32(out, static_cast<uint32_t>(r.data.size()));
        offset += r.data.size();
    }
    for (const Resource& r : resources) {
        while (out.size() % 4) out.push_back(0);
        const size_t at = out.size();
        out.resize(at + r.data.size());
        if (!r.data.empty()) std::memcpy(out.data() + at, r.data.data(), r.data.size());
    }
    return out;
}

}  // namespace tarn_assets

#endif
