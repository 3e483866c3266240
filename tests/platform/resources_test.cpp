// The platform's resource directory: lookups by id and type, and malformed blobs.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/host_control.h"

namespace {

void put(std::vector<unsigned char>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// A directory of two resources: bitmap 100 ("BM..") and wave 100 ("RIFF").
std::vector<unsigned char> blob() {
    std::vector<unsigned char> b = {'T', 'R', 'E', 'S'};
    put(b, 2);
    const char bitmap[8] = "BITMAP", wave[8] = "WAVE";
    put(b, 100);
    b.insert(b.end(), bitmap, bitmap + 8);
    put(b, 48);
    put(b, 2);
    put(b, 100);
    b.insert(b.end(), wave, wave + 8);
    put(b, 52);
    put(b, 4);
    b.insert(b.end(), {'B', 'M', 0, 0, 'R', 'I', 'F', 'F'});
    return b;
}

TEST(Resources, FoundByIdAndType) {
    std::vector<unsigned char> b = blob();
    HMODULE m = tarn_platform_register_module(b.data(), b.size());
    ASSERT_NE(m, nullptr);
    EXPECT_LE(reinterpret_cast<uintptr_t>(m), 0xFFFFFFFFu);  // fits a 32-bit resource handle
    HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(100), "WAVE");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(SizeofResource(m, r), 4u);
    EXPECT_EQ(std::memcmp(LockResource(LoadResource(m, r)), "RIFF", 4), 0);
    HRSRC bm = FindResourceA(m, MAKEINTRESOURCEA(100), RT_BITMAP);
    ASSERT_NE(bm, nullptr);
    EXPECT_EQ(std::memcmp(LockResource(LoadResource(m, bm)), "BM", 2), 0);
    EXPECT_EQ(FindResourceA(m, MAKEINTRESOURCEA(101), "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(m, "NAMED", "WAVE"), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(100), "WAVE"), nullptr);
    tarn_platform_unregister_module(m);
    EXPECT_EQ(FindResourceA(m, MAKEINTRESOURCEA(100), "WAVE"), nullptr);
}

TEST(Resources, MalformedDirectoriesAreRefused) {
    std::vector<unsigned char> b = blob();
    EXPECT_EQ(tarn_platform_register_module(b.data(), 7), nullptr);  // shorter than its header
    std::vector<unsigned char> bad_magic = b;
    bad_magic[0] = 'X';
    EXPECT_EQ(tarn_platform_register_module(bad_magic.data(), bad_magic.size()), nullptr);
    EXPECT_EQ(tarn_platform_register_module(b.data(), b.size() - 1), nullptr);  // data cut off
    std::vector<unsigned char> huge_count = b;
    huge_count[7] = 0x7F;
    EXPECT_EQ(tarn_platform_register_module(huge_count.data(), huge_count.size()), nullptr);
    EXPECT_EQ(tarn_platform_register_module(nullptr, 100), nullptr);
}

TEST(SoundLog, RecordsEveryRequestInOrder) {
    tarn_platform_reset();
    sndPlaySoundA("sound\\click.wav", SND_ASYNC);
    PlaySoundA("sound\\tarngyroon.wav", nullptr, SND_ASYNC);
    sndPlaySoundA(nullptr, 0);
    ASSERT_EQ(tarn_sound_log_size(), 3u);
    EXPECT_STREQ(tarn_sound_log_text(0), "sound\\click.wav");
    EXPECT_EQ(tarn_sound_log_call(1), 'P');
    EXPECT_STREQ(tarn_sound_log_text(2), "stop");
    EXPECT_EQ(tarn_sound_log_flags(2), 0u);
    EXPECT_EQ(tarn_sound_log_text(3), nullptr);
    tarn_platform_set_time(0xFFFFFFF0u);
    tarn_platform_advance_time(0x20);
    EXPECT_EQ(timeGetTime(), 0x10u);
    tarn_platform_reset();
    EXPECT_EQ(tarn_sound_log_size(), 0u);
    EXPECT_EQ(timeGetTime(), 0u);
}

}  // namespace
