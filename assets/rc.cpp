// tarn-rc: the resource compiler of the build. Reads a module's resource manifest and
// writes the module's resource directory blob, which the module embeds and the platform
// layer serves through FindResourceA and friends.
//
//   tarn-rc OUTPUT.bin MANIFEST...
//
// A module's resources may be spread over several manifests (one per gauge group); an id
// given twice for one type is an error naming both places.
//
// Manifest lines (one resource a line, '#' starts a comment):
//   ID BITMAP WIDTH HEIGHT [FRAMES] [RECIPE...]   a bitmap of that size; FRAMES > 1 makes ids
//                                     ID..ID+FRAMES-1; the drawing recipe is tarn-art's
//   ID WAVE FILE                      a WAVE file, relative to the manifest's folder
//   SCALE ...                         a dial scale for tarn-art, no resource
// IDs are decimal or 0x-hex. Bitmaps are 24-bit device-independent bitmaps (header and
// pixels, as a Win32 bitmap resource holds them); until the artwork lands they are
// placeholders of the right size (tarn-art draws the artwork; tarn-rc makes the
// placeholders of the records twin it reads and of the test module).
//
// Blob: "TRES", count (u32), count entries of {id u32, type char[8], offset u32, size u32},
// then the data, each item aligned to 4 bytes. All numbers little-endian.
#include "assets/resource_blob.h"
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using tarn_assets::Resource;

struct ManifestError {
    std::string where;
    std::string message;
};

using tarn_assets::put_dib_header;

bool parse_number(const std::string& text, uint32_t& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), &end, 0);
    if (*end != '\0' || errno != 0 || v > 0xFFFFFFFFull || text[0] == '-') return false;
    value = static_cast<uint32_t>(v);
    return true;
}

// A placeholder: dark face, light frame, and a light diagonal so that the size and
// orientation show on screen. No pixel is pure black, which would be transparent.
std::vector<unsigned char> placeholder_bitmap(uint32_t width, uint32_t height, uint32_t id) {
    std::vector<unsigned char> out;
    const uint32_t stride = (width * 3 + 3) & ~3u;
    put_dib_header(out, width, height);
    const unsigned char shade = static_cast<unsigned char>(40 + (id * 37) % 50);
    for (uint32_t row = 0; row < height; ++row) {
        const uint32_t y = height - 1 - row;
        for (uint32_t x = 0; x < width; ++x) {
            bool edge = x == 0 || y == 0 || x + 1 == width || y + 1 == height;
            bool diagonal = height > 0 && x == y * width / height;
            unsigned char v = edge || diagonal ? 170 : shade;
            out.push_back(v);                                     // blue
            out.push_back(v);                                     // green
            out.push_back(static_cast<unsigned char>(v + 8));     // red
        }
        for (uint32_t pad = width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

void read_manifest(const std::string& path, std::vector<Resource>& resources,
                   std::map<std::pair<uint32_t, std::string>, std::string>& seen) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ManifestError{path, "cannot open the manifest"};
    std::string folder = path.substr(0, path.find_last_of('/') + 1);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = path + ":" + std::to_string(number);
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty() || w[0] == "SCALE") continue;
        uint32_t id = 0;
        if (!parse_number(w[0], id)) throw ManifestError{where, "bad resource id '" + w[0] + "'"};
        if (w.size() < 2) throw ManifestError{where, "missing resource type"};
        auto add = [&](Resource r) {
            auto key = std::make_pair(r.id, r.type);
            if (seen.count(key))
                throw ManifestError{where, "resource " + std::to_string(r.id) + " " + r.type +
                                               " already given at " + seen[key]};
            seen[key] = where;
            resources.push_back(std::move(r));
        };
        if (w[1] == "BITMAP") {
            uint32_t width = 0, height = 0, frames = 1;
            const bool has_frames = w.size() >= 5 && std::isdigit(static_cast<unsigned char>(w[4][0]));
            if (w.size() < 4 || !parse_number(w[2], width) || !parse_number(w[3], height) ||
                (has_frames && !parse_number(w[4], frames)))
                throw ManifestError{where, "expected: ID BITMAP WIDTH HEIGHT [FRAMES]"};
            if (width == 0 || height == 0 || width > 4096 || height > 4096)
                throw ManifestError{where, "bitmap size out of range (1 to 4096 pixels)"};
            if (frames == 0 || frames > 256) throw ManifestError{where, "frame count out of range (1 to 256)"};
            for (uint32_t k = 0; k < frames; ++k)
                add({id + k, "BITMAP", placeholder_bitmap(width, height, id + k)});
        } else if (w[1] == "WAVE") {
            if (w.size() != 3) throw ManifestError{where, "expected: ID WAVE FILE"};
            std::ifstream wave(folder + w[2], std::ios::binary);
            if (!wave) throw ManifestError{where, "cannot open '" + folder + w[2] + "'"};
            std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(wave)), std::istreambuf_iterator<char>());
            add({id, "WAVE", std::move(bytes)});
        } else {
            throw ManifestError{where, "unknown resource type '" + w[1] + "' (BITMAP or WAVE)"};
        }
    }
}

using tarn_assets::make_blob;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: tarn-rc OUTPUT.bin MANIFEST...\n";
        return 2;
    }
    try {
        std::vector<Resource> resources;
        std::map<std::pair<uint32_t, std::string>, std::string> seen;
        for (int i = 2; i < argc; ++i) read_manifest(argv[i], resources, seen);
        std::vector<unsigned char> blob = make_blob(resources);
        std::string temp = std::string(argv[1]) + ".tmp";
        {
            std::ofstream out(temp, std::ios::binary);
            out.write(reinterpret_cast<const char*>(blob.data()), static_cast<std::streamsize>(blob.size()));
            if (!out) {
                std::cerr << argv[1] << ": cannot write\n";
                return 2;
            }
        }
        if (std::rename(temp.c_str(), argv[1]) != 0) {
            std::cerr << argv[1] << ": cannot write\n";
            return 2;
        }
    } catch (const ManifestError& e) {
        std::cerr << e.where << ": " << e.message << "\n";
        return 2;
    }
    return 0;
}
