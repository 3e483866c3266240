// X-Plane's UDP packets.
#include "host/link/xplane.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tarn {

namespace {

void put32(std::vector<uint8_t>& p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p.push_back(uint8_t(v >> (8 * i)));
}
uint32_t get32(const uint8_t* d) { return uint32_t(d[0]) | uint32_t(d[1]) << 8 | uint32_t(d[2]) << 16 | uint32_t(d[3]) << 24; }
uint32_t float_bits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}
float bits_float(uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}
std::vector<uint8_t> header(const char* tag) { return std::vector<uint8_t>(tag, tag + 5); }  // with its 0
void put_name(std::vector<uint8_t>& p, const std::string& name, size_t width) {
    const size_t n = std::min(name.size(), width - 1);
    p.insert(p.end(), name.begin(), name.begin() + long(n));
    p.resize(p.size() + width - n, 0);
}
std::string get_name(const uint8_t* d, size_t width) {
    const void* zero = std::memchr(d, 0, width);
    return std::string(reinterpret_cast<const char*>(d), zero ? size_t(static_cast<const uint8_t*>(zero) - d) : width);
}
bool tagged(const uint8_t* d, size_t size, const char* tag) { return size >= 5 && std::memcmp(d, tag, 5) == 0; }

}  // namespace

std::vector<uint8_t> rref_request(int32_t frequency, int32_t index, const std::string& dataref) {
    std::vector<uint8_t> p = header("RREF");
    put32(p, uint32_t(frequency));
    put32(p, uint32_t(index));
    put_name(p, dataref, 400);
    return p;
}

std::vector<uint8_t> dref_packet(float value, const std::string& dataref) {
    std::vector<uint8_t> p = header("DREF");
    put32(p, float_bits(value));
    put_name(p, dataref, 500);
    return p;
}

std::vector<uint8_t> cmnd_packet(const std::string& command) {
    std::vector<uint8_t> p = header("CMND");
    p.insert(p.end(), command.begin(), command.end());
    return p;
}

std::vector<uint8_t> rref_answer(const std::vector<std::pair<int32_t, float>>& values) {
    std::vector<uint8_t> p = {'R', 'R', 'E', 'F', ','};
    for (const auto& [index, value] : values) {
        put32(p, uint32_t(index));
        put32(p, float_bits(value));
    }
    return p;
}

const char* packet_status_text(PacketStatus s) {
    switch (s) {
    case PacketStatus::ok: return "ok";
    case PacketStatus::not_rref: return "not an RREF answer";
    case PacketStatus::bad_length: return "length not 5 + 8 per value";
    case PacketStatus::not_finite: return "a value is NaN or infinite";
    }
    return "?";
}

PacketStatus parse_rref(const uint8_t* data, size_t size, std::vector<std::pair<int32_t, float>>& values) {
    values.clear();
    if (size < 5 || std::memcmp(data, "RREF", 4) != 0) return PacketStatus::not_rref;
    if ((size - 5) % 8 != 0 || size == 5) return PacketStatus::bad_length;
    for (size_t at = 5; at < size; at += 8) {
        const float v = bits_float(get32(data + at + 4));
        if (!std::isfinite(v)) {
            values.clear();
            return PacketStatus::not_finite;
        }
        values.emplace_back(int32_t(get32(data + at)), v);
    }
    return PacketStatus::ok;
}

bool parse_dref(const uint8_t* data, size_t size, float& value, std::string& dataref) {
    if (!tagged(data, size, "DREF") || size != 509) return false;
    value = bits_float(get32(data + 5));
    dataref = get_name(data + 9, 500);
    return true;
}

bool parse_cmnd(const uint8_t* data, size_t size, std::string& command) {
    if (!tagged(data, size, "CMND") || size == 5) return false;
    command = get_name(data + 5, size - 5);
    return true;
}

bool parse_rref_request(const uint8_t* data, size_t size, int32_t& frequency, int32_t& index, std::string& dataref) {
    if (!tagged(data, size, "RREF") || size != 413) return false;
    frequency = int32_t(get32(data + 5));
    index = int32_t(get32(data + 9));
    dataref = get_name(data + 13, 400);
    return true;
}

}  // namespace tarn
