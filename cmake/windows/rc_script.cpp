// rc_script: a module's resource directory (as the Linux build embeds it) to a Windows
// resource script. Builds for the machine that runs the build, not for Windows.
//
//   rc_script TARN_resources.bin OUT_DIR TARN      -> OUT_DIR/TARN.rc and the files it lists
//
// The directory is "TRES", a count, then count entries (id, type[8], offset, size: 20 bytes,
// little-endian), then the data. A BITMAP is a device-independent bitmap: it is written as
// a .bmp file (a file header before it); a WAVE is written as the .wav it is. Any other
// type is written as it stands, under its own type name. Exit status 2 on a malformed
// directory or a resource id that does not fit Windows' 16 bits, naming the file.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

uint32_t u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char(v >> 8 & 0xFF);
}
void put32(std::string& s, uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}

bool write_file(const std::string& path, const std::string& head, const unsigned char* data, size_t size) {
    std::ofstream out(path, std::ios::binary);
    out.write(head.data(), std::streamsize(head.size()));
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return bool(out);
}

// The 14-byte file header of a .bmp whose device-independent bitmap is `dib`.
bool bmp_header(const unsigned char* dib, size_t size, std::string& head) {
    if (size < 40) return false;
    const uint32_t header = u32(dib);
    if (header < 40 || header > size) return false;
    const uint32_t bits = uint32_t(dib[14]) | uint32_t(dib[15]) << 8;
    const uint32_t compression = u32(dib + 16);
    uint32_t colours = u32(dib + 32);
    if (colours == 0 && bits <= 8) colours = 1u << bits;
    uint32_t offset = 14 + header + colours * 4;
    if (compression == 3 && header == 40) offset += 12;  // the three bit-field masks
    head.clear();
    head += "BM";
    put32(head, uint32_t(14 + size));
    put32(head, 0);
    put32(head, offset);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: rc_script RESOURCES.bin OUT_DIR NAME\n";
        return 2;
    }
    const std::string in_path = argv[1], dir = argv[2], name = argv[3];
    std::ifstream in(in_path, std::ios::binary);
    if (!in) {
        std::cerr << in_path << ": cannot open the resource directory\n";
        return 2;
    }
    const std::vector<unsigned char> blob((std::istreambuf_iterator<char>(in)), {});
    auto bad = [&](const std::string& why) {
        std::cerr << in_path << ": " << why << "\n";
        return 2;
    };
    if (blob.size() < 8 || std::memcmp(blob.data(), "TRES", 4) != 0) return bad("not a resource directory (no TRES)");
    const uint32_t count = u32(blob.data() + 4);
    if (count > (blob.size() - 8) / 20) return bad("the resource directory is cut short");
    std::string rc = "// Resources of " + name + ", written by rc_script from " + in_path + ".\n";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return bad("cannot make " + dir + ": " + ec.message());
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* e = blob.data() + 8 + size_t(i) * 20;
        const uint32_t id = u32(e);
        char type[9] = {};
        std::memcpy(type, e + 4, 8);
        const uint32_t offset = u32(e + 12), size = u32(e + 16);
        if (offset > blob.size() || size > blob.size() - offset)
            return bad("resource " + std::to_string(id) + " lies outside the directory");
        if (id == 0 || id > 0xFFFF) return bad("resource id " + std::to_string(id) + " does not fit 16 bits");
        for (const char* c = type; *c; ++c)
            if (!(*c >= 'A' && *c <= 'Z') && !(*c >= '0' && *c <= '9') && *c != '_')
                return bad("resource " + std::to_string(id) + " has a type that is not a plain name");
        const unsigned char* data = blob.data() + offset;
        std::string file, head;
        if (std::strcmp(type, "BITMAP") == 0) {
            if (!bmp_header(data, size, head)) return bad("bitmap " + std::to_string(id) + " is not a bitmap");
            file = "bitmap_" + std::to_string(id) + ".bmp";
        } else if (std::strcmp(type, "WAVE") == 0) {
            file = "wave_" + std::to_string(id) + ".wav";
        } else {
            file = std::string(type) + "_" + std::to_string(id) + ".bin";
        }
        if (!write_file(dir + "/" + file, head, data, size)) return bad("cannot write " + dir + "/" + file);
        rc += std::to_string(id) + " " + type + " \"" + dir + "/" + file + "\"\n";
    }
    std::ofstream out(dir + "/" + name + ".rc", std::ios::binary);
    out << rc;
    if (!out) return bad("cannot write " + dir + "/" + name + ".rc");
    return 0;
}
