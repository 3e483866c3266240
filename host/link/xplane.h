// X-Plane's UDP packets, built and read (little-endian, as X-Plane sends them):
//   RREF subscription  "RREF\0", int32 frequency (per second; 0 ends it), int32 index,
//                      the dataref's name in 400 bytes, zero-padded          (413 bytes)
//   RREF answer        "RREF" and one more byte, then (int32 index, float32 value) pairs
//   DREF               "DREF\0", float32 value, the dataref's name in 500 bytes (509 bytes)
//   CMND               "CMND\0", the command's name
#ifndef TARN_HOST_LINK_XPLANE_H
#define TARN_HOST_LINK_XPLANE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace tarn {

constexpr int kXPlanePort = 49000;

std::vector<uint8_t> rref_request(int32_t frequency, int32_t index, const std::string& dataref);
std::vector<uint8_t> dref_packet(float value, const std::string& dataref);
std::vector<uint8_t> cmnd_packet(const std::string& command);
// An answer with these pairs (for test senders).
std::vector<uint8_t> rref_answer(const std::vector<std::pair<int32_t, float>>& values);

enum class PacketStatus { ok, not_rref, bad_length, not_finite };
const char* packet_status_text(PacketStatus s);

// The pairs of an RREF answer. Any pair NaN or infinite refuses the whole packet.
PacketStatus parse_rref(const uint8_t* data, size_t size, std::vector<std::pair<int32_t, float>>& values);
// A DREF or CMND packet's parts (for test receivers); false when it is not one.
bool parse_dref(const uint8_t* data, size_t size, float& value, std::string& dataref);
bool parse_cmnd(const uint8_t* data, size_t size, std::string& command);
bool parse_rref_request(const uint8_t* data, size_t size, int32_t& frequency, int32_t& index, std::string& dataref);

}  // namespace tarn

#endif
