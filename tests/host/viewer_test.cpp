// The interactive viewer and its sound, run under SDL's dummy video and audio drivers:
// the display check, the sound folder's file names, the mixer, the sound log reaching
// the audio output, and the viewer on the default panel (clicks, holds, keys, help, the
// screen holding the panel picture after partial copies); and, where Xvfb is installed,
// a screenshot read back from a real X server.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "host/draw/bitmap.h"
#include "host/view/audio_out.h"
#include "host/view/hover.h"
#include "host/view/placement.h"
#include "host/core/host.h"
#include "host/draw/panel.h"
#include "host/core/simulation.h"
#include "host/view/viewer.h"
#include "platform/host_control.h"

namespace fs = std::filesystem;
using tarn::AudioOut;

namespace {

// One environment variable set (or unset) for a test's duration.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~EnvVar() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

// A mono 16-bit PCM WAVE file of `frames` frames at `rate`, every sample `value`.
std::vector<unsigned char> wave_file(int rate, int frames, int16_t value) {
    std::vector<unsigned char> f;
    auto u32 = [&](uint32_t v) { for (int k = 0; k < 4; ++k) f.push_back(uint8_t(v >> (8 * k))); };
    auto u16 = [&](uint16_t v) { for (int k = 0; k < 2; ++k) f.push_back(uint8_t(v >> (8 * k))); };
    auto tag = [&](const char* t) { for (int k = 0; k < 4; ++k) f.push_back(uint8_t(t[k])); };
    const uint32_t data = uint32_t(frames) * 2;
    tag("RIFF");
    u32(36 + data);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(uint32_t(rate));
    u32(uint32_t(rate) * 2);
    u16(2);
    u16(16);
    tag("data");
    u32(data);
    for (int i = 0; i < frames; ++i) u16(uint16_t(value));
    return f;
}

void write_file(const fs::path& path, const std::vector<unsigned char>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh folder under the temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder() {
        char name[] = "/tmp/tarn_viewer_XXXXXX";
        path_ = mkdtemp(name);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// Mixes `frames` frames and returns the largest sample.
int loudest(AudioOut& a, size_t frames) {
    std::vector<int16_t> out(frames * AudioOut::kChannels);
    a.mix(out.data(), frames);
    int most = 0;
    for (int16_t s : out) most = std::max(most, std::abs(int(s)));
    return most;
}

// Mixes `frames` frames and returns the size of the middle one (away from the edges,
// where the resampler rings).
int middle(AudioOut& a, size_t frames) {
    std::vector<int16_t> out(frames * AudioOut::kChannels);
    a.mix(out.data(), frames);
    return std::abs(int(out[frames / 2 * AudioOut::kChannels]));
}

}  // namespace

/* ---- the display check --------------------------------------------------------------- */

// Neither display variable and no headless driver: no display, and the reason says which
// variables were looked at.
TEST(ViewerDisplay, NoDisplayVariablesMeansNoDisplay) {
    EnvVar d("DISPLAY", nullptr), w("WAYLAND_DISPLAY", nullptr), v("SDL_VIDEODRIVER", nullptr);
    std::string why;
    EXPECT_FALSE(tarn::display_available(&why));
    EXPECT_NE(why.find("DISPLAY"), std::string::npos);
}

// An X display, a Wayland one, or SDL's offscreen and dummy drivers: windows can be made.
// An empty DISPLAY is no display; naming another driver does not make one.
TEST(ViewerDisplay, DisplayOrHeadlessDriver) {
    EnvVar d("DISPLAY", nullptr), w("WAYLAND_DISPLAY", nullptr), v("SDL_VIDEODRIVER", nullptr);
    {
        EnvVar x("DISPLAY", ":0");
        EXPECT_TRUE(tarn::display_available(nullptr));
    }
    {
        EnvVar x("DISPLAY", "");
        EXPECT_FALSE(tarn::display_available(nullptr));
    }
    {
        EnvVar x("WAYLAND_DISPLAY", "wayland-0");
        EXPECT_TRUE(tarn::display_available(nullptr));
    }
    for (const char* driver : {"offscreen", "dummy"}) {
        EnvVar x("SDL_VIDEODRIVER", driver);
        EXPECT_TRUE(tarn::display_available(nullptr)) << driver;
    }
    EnvVar x("SDL_VIDEODRIVER", "x11");
    EXPECT_FALSE(tarn::display_available(nullptr));
}

/* ---- window placement ------------------------------------------------------------------ */

namespace {

bool on_screen(const tarn::WindowPlace& p, const tarn::ScreenBox& s, const tarn::FrameBorders& f) {
    return p.box.x - f.left >= s.x && p.box.y - f.top >= s.y && p.box.x + p.box.w + f.right <= s.x + s.w &&
           p.box.y + p.box.h + f.bottom <= s.y + s.h;
}

}  // namespace

// window_pos and window_size are fractions of the screen: the main panel (2400 x 1000
// units, top-left at 0, 0.5, the screen's width and half its height) fills the width it
// can at its own aspect, centred in its box; with a frame (title bar 20, borders 1) the
// client area shrinks so that the frame fits too. Without window_pos and window_size a
// window is centred at one pixel a unit, or smaller when the screen asks for it; a usable
// area that does not start at 0, 0 moves everything with it.
TEST(WindowPlacement, FromThePanelFile) {
    const tarn::ScreenBox screen{0, 0, 1920, 1080};
    tarn::WindowPlaceInput main{.width = 2400, .height = 1000, .pos = {{0, 0.5}}, .size = {{1, 0.5}}, .screen = screen};
    tarn::WindowPlace p = tarn::place_window(main);
    EXPECT_DOUBLE_EQ(p.scale, 0.54);
    EXPECT_EQ(p.box, (tarn::ScreenBox{312, 540, 1296, 540}));
    EXPECT_FALSE(p.reduced);

    main.frame = {20, 1, 1, 1};
    p = tarn::place_window(main);
    EXPECT_DOUBLE_EQ(p.scale, 0.519);
    EXPECT_EQ(p.box, (tarn::ScreenBox{337, 560, 1246, 519}));
    EXPECT_TRUE(on_screen(p, screen, main.frame));

    // The overhead panel's box (0.2, 0 and 0.6 x 0.4) is wider than its aspect: centred.
    p = tarn::place_window({.width = 760, .height = 700, .pos = {{0.2, 0}}, .size = {{0.6, 0.4}}, .screen = screen});
    EXPECT_EQ(p.box.h, 432);
    EXPECT_EQ(p.box.w, 469);  // 760 x 432 / 700
    EXPECT_EQ(p.box.x, 726);  // 384 + (1152 - 469) / 2
    EXPECT_EQ(p.box.y, 0);

    p = tarn::place_window({.width = 400, .height = 300, .screen = screen});
    EXPECT_EQ(p.box, (tarn::ScreenBox{760, 390, 400, 300}));
    p = tarn::place_window({.width = 4000, .height = 500, .screen = screen});
    EXPECT_EQ(p.box, (tarn::ScreenBox{0, 420, 1920, 240}));

    p = tarn::place_window({.width = 400, .height = 300, .pos = {{0.5, 0.5}}, .screen = {100, 30, 800, 600}});
    EXPECT_EQ(p.box, (tarn::ScreenBox{500, 330, 400, 300}));
}

// A --scale that would leave the screen is reduced to the largest that fits (and says
// so); a smaller one is kept as asked, window_size notwithstanding; forced, it stays, the
// window's top-left corner (frame included) on the screen.
TEST(WindowPlacement, ScaleReducedUnlessForced) {
    const tarn::ScreenBox screen{0, 0, 1920, 1080};
    tarn::WindowPlaceInput main{.width = 2400, .height = 1000, .pos = {{0, 0.5}}, .size = {{1, 0.5}}, .screen = screen,
                                .frame = {20, 1, 1, 1}, .scale = 3};
    tarn::WindowPlace p = tarn::place_window(main);
    EXPECT_TRUE(p.reduced);
    EXPECT_DOUBLE_EQ(p.scale, 1918.0 / 2400);
    EXPECT_EQ(p.box.w, 1918);
    EXPECT_EQ(p.box.h, 799);
    EXPECT_TRUE(on_screen(p, screen, main.frame));

    main.scale = 0.25;
    p = tarn::place_window(main);
    EXPECT_FALSE(p.reduced);
    EXPECT_EQ(p.box.w, 600);
    EXPECT_EQ(p.box.h, 250);

    main.scale = 3;
    main.force = true;
    p = tarn::place_window(main);
    EXPECT_FALSE(p.reduced);
    EXPECT_EQ(p.box, (tarn::ScreenBox{1, 20, 7200, 3000}));
}

// Whatever the file says (fractions beyond 0 to 1, no number, boxes past the screen's
// edge), each of the default panel's windows, at any scale not forced, lies on the screen.
TEST(WindowPlacement, AlwaysOnTheScreen) {
    struct W {
        double w, h;
        std::optional<std::pair<double, double>> pos, size;
    };
    const double nan = std::nan("");
    const W windows[] = {{2400, 1000, {{0, 0.5}}, {{1, 0.5}}},     {440, 615, {{0.7, 0}}, {{0.3, 0.45}}},
                         {760, 700, {{0.2, 0}}, {{0.6, 0.4}}},     {400, 300, {{0.75, 0.6}}, {{0.25, 0.4}}},
                         {400, 300, {{1.5, -1}}, {{2, 2}}},        {400, 300, {{0.9, 0.9}}, std::nullopt},
                         {400, 300, {{nan, 0.5}}, {{nan, nan}}},   {1, 5000, std::nullopt, std::nullopt}};
    const tarn::ScreenBox screens[] = {{0, 0, 1920, 1080}, {0, 0, 1024, 768}, {50, 28, 1280, 996}};
    for (const tarn::ScreenBox& s : screens)
        for (const W& w : windows)
            for (double scale : {0.0, 0.3, 1.0, 3.0, 16.0}) {
                const tarn::FrameBorders f{24, 2, 2, 2};
                const tarn::WindowPlace p =
                    tarn::place_window({.width = w.w, .height = w.h, .pos = w.pos, .size = w.size, .screen = s,
                                        .frame = f, .scale = scale});
                EXPECT_TRUE(on_screen(p, s, f)) << w.w << "x" << w.h << " at scale " << scale << " on " << s.w << "x"
                                                << s.h << ": " << p.box.x << "," << p.box.y << " " << p.box.w << "x"
                                                << p.box.h;
                EXPECT_NEAR(double(p.box.w) / p.box.h, w.w / w.h, 2.0 * std::max(1.0, w.w / w.h) / p.box.h);
            }
}

/* ---- what the pointer is over ------------------------------------------------------------ */

// The gauge, its window, the panel file's name and line and the parameters; then the help
// id's text where the host has one, else its number; a missing gauge says why instead.
TEST(HoverText, Composition) {
    tarn::HoverInfo h{.gauge = "TARN2_Instruments!Tachometer", .window = "Window00", .file = "/a/b/panel.cfg",
                      .line = 48, .params = "1", .help_id = 0xAB68, .help_text = "Tachometer"};
    EXPECT_EQ(tarn::hover_text(h),
              "TARN2_Instruments!Tachometer (Window00, panel.cfg:48, parameters \"1\"), Tachometer [help 43880 (0xAB68)]");
    h.help_text.clear();
    h.params.reset();
    EXPECT_EQ(tarn::hover_text(h), "TARN2_Instruments!Tachometer (Window00, panel.cfg:48), help 43880 (0xAB68)");
    h.help_id = 0;
    EXPECT_EQ(tarn::hover_text(h), "TARN2_Instruments!Tachometer (Window00, panel.cfg:48)");
    h = {.gauge = "TARN!Nope", .window = "Window01", .file = "my.cfg", .line = 7, .params = "",
         .missing = "unknown gauge TARN!Nope"};
    EXPECT_EQ(tarn::hover_text(h), "TARN!Nope (Window01, my.cfg:7, parameters \"\"): missing, unknown gauge TARN!Nope");
    EXPECT_EQ(tarn::help_id_text(0xAB68), "Tachometer");
    EXPECT_EQ(tarn::help_id_text(0xAB24), "");  // shared by the flaps and the primer: a number
    EXPECT_EQ(tarn::help_id_text(0), "");
}

/* ---- sound file names ------------------------------------------------------------------ */

// The gauges' names use '\' and Windows' indifference to case: "sound\TARN_Warn.wav" finds
// sound/tarn_warn.WAV; a missing file, a folder, and an empty name find nothing.
TEST(SoundFiles, BackslashesAndCase) {
    TempFolder t;
    write_file(t.path() / "sound" / "tarn_warn.WAV", wave_file(8000, 10, 1));
    write_file(t.path() / "sound" / "click.wav", wave_file(8000, 10, 1));
    const std::string base = t.path().string();
    EXPECT_EQ(tarn::find_sound_file(base, "sound\\click.wav"), base + "/sound/click.wav");
    EXPECT_EQ(tarn::find_sound_file(base, "sound/click.wav"), base + "/sound/click.wav");
    EXPECT_EQ(tarn::find_sound_file(base, "SOUND\\TARN_Warn.wav"), base + "/sound/tarn_warn.WAV");
    EXPECT_EQ(tarn::find_sound_file(base, "sound\\primer.wav"), "");
    EXPECT_EQ(tarn::find_sound_file(base, "sound"), "");
    EXPECT_EQ(tarn::find_sound_file(base, ""), "");
    EXPECT_EQ(tarn::find_sound_file(base, "\\"), "");
}

/* ---- the mixer --------------------------------------------------------------------------- */

class AudioMix : public ::testing::Test {
protected:
    void SetUp() override {
        // 0.1 s at 22050 Hz: 4410 output frames after conversion to 44100 Hz.
        write_file(t.path() / "sound" / "click.wav", wave_file(22050, 2205, 8000));
        write_file(t.path() / "sound" / "warn.wav", wave_file(44100, 4410, 30000));
        write_file(t.path() / "sound" / "broken.wav", {'R', 'I', 'F', 'F', 0, 0});
    }
    TempFolder t;
};

// A request plays the file once to its end, at its level; then nothing sounds.
TEST_F(AudioMix, FilePlaysOnceToItsEnd) {
    AudioOut a({.working_folder = t.path().string(), .device = false});
    a.winmm("sound\\click.wav", SND_ASYNC);
    EXPECT_EQ(a.voices(), 1);
    EXPECT_NEAR(middle(a, 4000), 8000, 100);
    EXPECT_EQ(a.voices(), 1);  // 410 frames left
    EXPECT_GT(loudest(a, 1000), 0);
    EXPECT_EQ(a.voices(), 0);
    EXPECT_EQ(loudest(a, 100), 0);
}

// The WinMM voice is one: a new request replaces the sound; a stop request ends it;
// SND_NOSTOP leaves a playing sound alone; SND_LOOP goes on past the end.
TEST_F(AudioMix, OneWinmmVoice) {
    AudioOut a({.working_folder = t.path().string(), .device = false});
    a.winmm("sound\\click.wav", SND_ASYNC);
    a.winmm("sound\\warn.wav", SND_ASYNC);
    EXPECT_EQ(a.voices(), 1);
    EXPECT_NEAR(middle(a, 100), 30000, 10);  // the second request's sound
    a.winmm(nullptr, 0);
    EXPECT_EQ(a.voices(), 0);
    a.winmm("sound\\click.wav", SND_ASYNC);
    a.winmm("sound\\warn.wav", SND_ASYNC | SND_NOSTOP);
    EXPECT_NEAR(middle(a, 100), 8000, 100);  // still the first
    a.winmm("sound\\click.wav", SND_ASYNC | SND_LOOP);
    loudest(a, 3 * 4410);
    EXPECT_EQ(a.voices(), 1);
    EXPECT_NEAR(middle(a, 100), 8000, 100);
    EXPECT_EQ(a.started(), 4);
}

// Missing files, files that are not WAVE files, memory images: skipped quietly.
TEST_F(AudioMix, MissingAndBrokenFilesAreSkipped) {
    AudioOut a({.working_folder = t.path().string(), .device = false});
    a.winmm("sound\\primer.wav", SND_ASYNC);
    a.winmm("sound\\broken.wav", SND_ASYNC);
    a.winmm("sound\\click.wav", SND_ASYNC | SND_MEMORY);
    EXPECT_EQ(a.voices(), 0);
    EXPECT_EQ(a.skipped(), 3);
    EXPECT_EQ(a.started(), 0);
    EXPECT_EQ(loudest(a, 100), 0);
}

// Sounds at once add up; the sum is held to the 16-bit range rather than wrapping.
TEST_F(AudioMix, VoicesAddAndClip) {
    AudioOut a({.working_folder = t.path().string(), .device = false});
    const std::vector<unsigned char> loud = wave_file(44100, 1000, 30000);
    a.winmm("sound\\warn.wav", SND_ASYNC);
    a.wave(4130, loud.data(), loud.size());
    EXPECT_EQ(a.voices(), 2);
    std::vector<int16_t> out(100 * AudioOut::kChannels);
    a.mix(out.data(), 100);
    EXPECT_EQ(out[0], 32767);
    // The same resource played while it sounds goes on (one voice, not restarted).
    a.wave(4130, loud.data(), loud.size());
    EXPECT_EQ(a.voices(), 2);
    EXPECT_EQ(a.started(), 2);
}

// The sound log: WinMM requests and stops from both calls, DirectSound plays by WAVE
// resource ("wave:unknown" and resources no module has are passed over); a cleared log
// is read again from its start.
TEST_F(AudioMix, SoundLogReachesTheOutput) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    host.module("TARN2_Instruments");  // its WAVE resources (4130: the switch click)
    AudioOut a({.working_folder = t.path().string(), .device = false});
    sndPlaySoundA("sound\\click.wav", SND_ASYNC);
    tarn_sound_log_add("wave:4130", 0, 'D');
    tarn_sound_log_add("wave:unknown", 0, 'D');
    tarn_sound_log_add("wave:77", 0, 'D');
    size_t seen = a.take_sound_log(0);
    EXPECT_EQ(seen, 4u);
    EXPECT_EQ(a.voices(), 2);
    EXPECT_EQ(a.started(), 2);
    PlaySoundA(nullptr, nullptr, 0);
    seen = a.take_sound_log(seen);
    EXPECT_EQ(a.voices(), 1);  // the click resource still sounds
    tarn_sound_log_clear();
    PlaySoundA("sound\\warn.wav", nullptr, SND_ASYNC);
    seen = a.take_sound_log(seen);
    EXPECT_EQ(seen, 1u);
    EXPECT_EQ(a.voices(), 2);
}

// A device opened on SDL's dummy driver mixes on its own thread.
TEST_F(AudioMix, DummyDevicePlays) {
    EnvVar driver("SDL_AUDIODRIVER", "dummy");
    AudioOut a({.working_folder = t.path().string()});
    ASSERT_TRUE(a.device_open()) << a.device_problem();
    a.winmm("sound\\click.wav", SND_ASYNC);
    for (int i = 0; i < 200 && a.voices() > 0; ++i) SDL_Delay(5);
    EXPECT_EQ(a.voices(), 0);
}

/* ---- the viewer ------------------------------------------------------------------------- */

class ViewerSmoke : public ::testing::Test {
protected:
    static std::string panel_file() {
        return (fs::path(__FILE__).parent_path() / ".." / ".." / "panel" / "panel.cfg").lexically_normal().string();
    }
    // The placed gauge MODULE!GAUGE.
    static size_t gauge(tarn::Viewer& v, const std::string& module, const std::string& name) {
        const auto& g = v.panel().gauges();
        for (size_t i = 0; i < g.size(); ++i)
            if (g[i].line->module == module && g[i].line->gauge == name && g[i].instance) return i;
        ADD_FAILURE() << module << "!" << name << " is not on the panel";
        return 0;
    }
    static void push_button(const tarn::Viewer::Point& p, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = p.window_id;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = p.x;
        e.button.y = p.y;
        SDL_PushEvent(&e);
    }
    static void push_motion(const tarn::Viewer::Point& p) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = p.window_id;
        e.motion.x = p.x;
        e.motion.y = p.y;
        SDL_PushEvent(&e);
    }
    static void push_key(SDL_Keycode sym) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = sym;
        SDL_PushEvent(&e);
    }
    static int count_events(tarn::PanelHost& h, UINT32 id) {
        int n = 0;
        for (const tarn::KeyEvent& e : h.key_events()) n += e.id == id;
        return n;
    }
    tarn::ViewerOptions options() {
        return {.gauges_dir = TARN_GAUGES_DIR, .config = panel_file(), .working_folder = t.path().string(), .scale = 0.5};
    }
    TempFolder t;
    EnvVar video{"SDL_VIDEODRIVER", "dummy"};
    EnvVar audio{"SDL_AUDIODRIVER", "dummy"};
};

// Open: the main window shows and the others (not visible in the panel file) do not;
// key 3 opens the overhead panel; clicking its battery switch sends the event, which
// turns the battery master on, and plays the switch's click; key 3 closes the panel
// again, and Escape ends the viewer.
TEST_F(ViewerSmoke, OpenClickSwitchClose) {
    tarn::Viewer v(options());
    EXPECT_TRUE(v.window_open(0));
    EXPECT_FALSE(v.window_open(2));
    ASSERT_TRUE(v.frame(16));
    push_key(SDLK_3);
    ASSERT_TRUE(v.frame(16));
    ASSERT_TRUE(v.window_open(2));
    const size_t battery = gauge(v, "TARN2_Instruments", "Battery");
    const auto at = v.window_point(battery, 26, 26);
    ASSERT_TRUE(at.has_value());
    EXPECT_EQ(at->window_id, v.window_id(2));
    const int started = v.audio()->started();
    push_button(*at, true);
    push_button(*at, false);
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(count_events(v.host(), 66241), 1);
    EXPECT_EQ(v.host().vars().number(364), 1.0);  // the aircraft's battery master is on
    EXPECT_GE(v.audio()->started(), started + 1);  // the switch click, WAVE 4130
    push_key(SDLK_3);
    ASSERT_TRUE(v.frame(16));
    EXPECT_FALSE(v.window_open(2));
    push_key(SDLK_ESCAPE);
    EXPECT_FALSE(v.frame(16));
    EXPECT_TRUE(v.quit_requested());
}

// Holding the decision-height knob: one event at the press, the first repeat 400 ms
// later, then one every 100 ms (at 1000 ms: 7 repeats); none after the release; a press
// beside every gauge sends nothing.
TEST_F(ViewerSmoke, HoldRepeatsUntilRelease) {
    tarn::Viewer v(options());
    const size_t radio_alt = gauge(v, "TARN2_Instruments", "Radio_Alt");
    const auto knob = v.window_point(radio_alt, 20, 250);
    ASSERT_TRUE(knob.has_value());
    push_button(*knob, true);
    ASSERT_TRUE(v.frame(0));
    EXPECT_EQ(count_events(v.host(), 66322), 1);
    for (int i = 0; i < 7; ++i) ASSERT_TRUE(v.frame(50));  // 350 ms
    EXPECT_EQ(count_events(v.host(), 66322), 1);
    for (int i = 0; i < 13; ++i) ASSERT_TRUE(v.frame(50));  // 1000 ms
    EXPECT_EQ(count_events(v.host(), 66322), 8);
    push_button(*knob, false);
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(v.frame(50));
    EXPECT_EQ(count_events(v.host(), 66322), 8);
    const size_t before = v.host().key_events().size();
    push_button({knob->window_id, 2, 2}, true);  // the panel's margin
    push_button({knob->window_id, 2, 2}, false);
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(v.host().key_events().size(), before);
}

// Dragging the left throttle: the press sets it where the lever region was pressed, moving
// up to the region's top edge (and beyond) gives full throttle (16384), moving back down
// less; after the release, moving the mouse sends nothing.
TEST_F(ViewerSmoke, DragMovesALever) {
    tarn::Viewer v(options());
    push_key(SDLK_4);
    ASSERT_TRUE(v.frame(16));
    const size_t quadrant = gauge(v, "TARN2_Instruments", "Throttle_Quadrant");
    auto last_throttle = [&]() -> std::optional<UINT32> {
        const auto& e = v.host().key_events();
        for (auto it = e.rbegin(); it != e.rend(); ++it)
            if (it->id == 65820) return it->value;
        return std::nullopt;
    };
    const auto lower = v.window_point(quadrant, 17, 90);
    ASSERT_TRUE(lower.has_value());
    push_button(*lower, true);
    ASSERT_TRUE(v.frame(16));
    ASSERT_TRUE(last_throttle().has_value());
    const UINT32 pressed = *last_throttle();
    EXPECT_LT(pressed, 4000u);
    push_motion(*v.window_point(quadrant, 17, 30));
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(last_throttle(), 16384u);
    push_motion(*v.window_point(quadrant, 17, 5));
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(last_throttle(), 16384u);
    push_motion(*v.window_point(quadrant, 17, 75));
    ASSERT_TRUE(v.frame(16));
    EXPECT_GT(*last_throttle(), pressed);
    EXPECT_LT(*last_throttle(), 16384u);
    push_button(*v.window_point(quadrant, 17, 75), false);
    ASSERT_TRUE(v.frame(16));
    const size_t before = v.host().key_events().size();
    push_motion(*v.window_point(quadrant, 17, 30));
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(v.host().key_events().size(), before);
}

// The title names the gauge and help id under the pointer, and the rate and pause.
TEST_F(ViewerSmoke, TitleShowsHelpRateAndPause) {
    tarn::Viewer v(options());
    const size_t radio_alt = gauge(v, "TARN2_Instruments", "Radio_Alt");
    push_motion(*v.window_point(radio_alt, 20, 250));
    ASSERT_TRUE(v.frame(16));
    EXPECT_NE(v.title().find("TARN2_Instruments!Radio_Alt (Window00, panel.cfg:38, parameters \"s1\")"),
              std::string::npos)
        << v.title();
    EXPECT_NE(v.title().find("Radio altimeter [help 43540 (0xAA14)]"), std::string::npos) << v.title();
    EXPECT_NE(v.title().find(", 1x"), std::string::npos) << v.title();
    push_key(SDLK_PLUS);
    push_key(SDLK_PLUS);
    push_key(SDLK_p);
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(v.rate(), 4.0);
    EXPECT_TRUE(v.paused());
    EXPECT_NE(v.title().find(", 4x, paused"), std::string::npos) << v.title();
    for (int i = 0; i < 8; ++i) push_key(SDLK_MINUS);
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(v.rate(), 0.25);
    EXPECT_NE(v.title().find(", 1/4x"), std::string::npos) << v.title();
}

// Over a gauge of another window, that window's title names it and the main one's does
// not; the two tachometers (one gauge, two lines, parameters "1" and "2") read apart; a
// gauge that is missing names itself and why.
TEST_F(ViewerSmoke, HoverNamesTheGaugeInItsWindow) {
    {
        tarn::Viewer v(options());
        push_key(SDLK_3);
        ASSERT_TRUE(v.frame(16));
        push_motion(*v.window_point(gauge(v, "TARN2_Instruments", "Battery"), 26, 26));
        ASSERT_TRUE(v.frame(16));
        EXPECT_NE(v.window_title(2).find("TARN2_Instruments!Battery (Window02, panel.cfg:"), std::string::npos)
            << v.window_title(2);
        EXPECT_NE(v.window_title(2).find("Battery master switch [help 43795 (0xAB13)]"), std::string::npos)
            << v.window_title(2);
        EXPECT_EQ(v.title().find("Battery"), std::string::npos) << v.title();

        std::string seen[2];
        for (int k = 0; k < 2; ++k) {
            size_t found = 0, n = 0;
            for (size_t i = 0; i < v.panel().gauges().size(); ++i)
                if (v.panel().gauges()[i].line->gauge == "Tachometer" && n++ == size_t(k)) found = i;
            push_motion(*v.window_point(found, 150, 150));
            ASSERT_TRUE(v.frame(16));
            seen[k] = v.title();
        }
        EXPECT_NE(seen[0].find(":48, parameters \"1\"), Tachometer [help 43880 (0xAB68)]"), std::string::npos) << seen[0];
        EXPECT_NE(seen[1].find(":49, parameters \"2\"), Tachometer"), std::string::npos) << seen[1];
    }
    std::ofstream(t.path() / "missing.cfg") << "[Window00]\nsize_mm=200,100\ngauge00=TARN!Nope, 0, 0, 100, 100\n"
                                                "gauge01=Nomodule!Gauge, 100, 0, 100, 100, 7\n";
    tarn::ViewerOptions o = options();
    o.config = (t.path() / "missing.cfg").string();
    o.scale = 1;
    tarn::Viewer m(o);
    push_motion({m.window_id(0), 50, 50});
    ASSERT_TRUE(m.frame(16));
    EXPECT_NE(m.title().find("| TARN!Nope (Window00, missing.cfg:3): missing, unknown gauge TARN!Nope"),
              std::string::npos)
        << m.title();
    push_motion({m.window_id(0), 150, 50});
    ASSERT_TRUE(m.frame(16));
    EXPECT_NE(m.title().find("| Nomodule!Gauge (Window00, missing.cfg:4, parameters \"7\"): missing, unknown module"),
              std::string::npos)
        << m.title();
}

// A window made larger than the panel: the picture is centred, its margins take the
// panel's grey (the main window's background colour, 58,62,66) on the screen and in the
// PNG that F12 writes, whose name is new each time; the gauges answer where they are shown.
TEST_F(ViewerSmoke, GreyMarginsAndPicture) {
    tarn::Viewer v(options());
    ASSERT_TRUE(v.frame(16));
    int pw = 0, ph = 0;
    const std::vector<uint32_t> picture = v.panel_pixels(0, &pw, &ph);
    SDL_Window* window = SDL_GetWindowFromID(v.window_id(0));
    ASSERT_NE(window, nullptr);
    SDL_SetWindowSize(window, pw + 60, ph + 200);  // wider by 60, and far taller
    ASSERT_TRUE(v.frame(16));
    ASSERT_TRUE(v.frame(16));
    int nw = 0, nh = 0;
    v.panel_pixels(0, &nw, &nh);
    SDL_Surface* screen = SDL_GetWindowSurface(window);
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(screen->w, nw);
    ASSERT_GT(screen->h, nh);
    Uint8 r = 0, g = 0, b = 0;
    const auto* last_row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(screen->pixels) +
                                                           size_t(screen->h - 1) * size_t(screen->pitch));
    SDL_GetRGB(last_row[0], screen->format, &r, &g, &b);
    EXPECT_EQ((std::array<int, 3>{r, g, b}), (std::array<int, 3>{58, 62, 66}));

    std::string why;
    const std::string first = v.save_picture(0, t.path().string(), &why);
    ASSERT_FALSE(first.empty()) << why;
    EXPECT_EQ(first, (t.path() / "tarn-panel-Window00-1.png").string());
    EXPECT_EQ(v.save_picture(0, t.path().string(), &why), (t.path() / "tarn-panel-Window00-2.png").string());
    const tarn::Image png = tarn::read_png(first, &why);
    ASSERT_FALSE(png.empty()) << why;
    EXPECT_EQ(png.width(), screen->w);
    EXPECT_EQ(png.height(), screen->h);
    EXPECT_EQ(png.pixel(png.width() - 1, png.height() - 1), 0xFF3A3E42u);
    const std::vector<uint32_t> now = v.panel_pixels(0, &nw, &nh);
    const int top = (screen->h - nh) / 2;
    EXPECT_EQ(png.pixel(nw / 2, top + nh / 2), now[size_t(nh / 2) * size_t(nw) + size_t(nw / 2)]);
    EXPECT_EQ(png.pixel(nw / 2, top - 1), 0xFF3A3E42u);
    int sw = 0, sh = 0;
    EXPECT_EQ(v.screen_pixels(0, &sw, &sh), now);
    // The battery switch, now lower in the window, still takes the click.
    push_key(SDLK_3);
    ASSERT_TRUE(v.frame(16));
    SDL_Window* overhead = SDL_GetWindowFromID(v.window_id(2));
    int ow = 0, oh = 0;
    SDL_GetWindowSize(overhead, &ow, &oh);
    const auto before = v.window_point(gauge(v, "TARN2_Instruments", "Battery"), 26, 26);
    SDL_SetWindowSize(overhead, ow, oh + 200);
    ASSERT_TRUE(v.frame(16));
    const auto at = v.window_point(gauge(v, "TARN2_Instruments", "Battery"), 26, 26);
    ASSERT_TRUE(before.has_value() && at.has_value());
    EXPECT_EQ(at->x, before->x);
    EXPECT_EQ(at->y, before->y + 100);
    push_button(*at, true);
    push_button(*at, false);
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(count_events(v.host(), 66241), 1);
    EXPECT_EQ(v.save_picture(0, (t.path() / "none" / "here").string(), &why), "");
    EXPECT_FALSE(why.empty());
}

// Paused, the model and profile stand still while the panel's clock goes on; running at
// 4x, a 100 ms frame moves them 400 ms.
TEST_F(ViewerSmoke, PauseAndRate) {
    tarn::Viewer v(options());
    ASSERT_TRUE(v.frame(100));
    EXPECT_EQ(v.last_frame().sim_ms, 100u);
    push_key(SDLK_SPACE);
    const DWORD clock = timeGetTime();
    ASSERT_TRUE(v.frame(100));
    EXPECT_EQ(v.last_frame().sim_ms, 0u);
    EXPECT_EQ(timeGetTime() - clock, 100u);
    push_key(SDLK_SPACE);
    push_key(SDLK_EQUALS);
    push_key(SDLK_KP_PLUS);
    ASSERT_TRUE(v.frame(100));
    EXPECT_EQ(v.last_frame().sim_ms, 400u);
    push_key(SDLK_r);
    ASSERT_TRUE(v.frame(100));
    EXPECT_EQ(v.last_frame().sim_ms, 100u);
}

// After frames that copy only the gauges that changed (a switch turned, the model and
// the flight running), the screen holds exactly the panel picture; a quiet frame copies
// nothing.
TEST_F(ViewerSmoke, PartialCopiesKeepTheScreenRight) {
    tarn::Viewer v(options());
    ASSERT_TRUE(v.frame(16));
    EXPECT_EQ(v.last_frame().rects_copied, 1);  // the first frame: the whole picture
    int partial = 0;
    for (int i = 0; i < 40; ++i) {
        if (i == 5) v.host().vars().set_number(364, 1);  // battery on: lamps, needles
        ASSERT_TRUE(v.frame(250));
        const int copied = v.last_frame().rects_copied;
        if (copied > 0 && copied < int(v.panel().gauges().size()) / 2) ++partial;
    }
    EXPECT_GT(partial, 0);
    int sw = 0, sh = 0, pw = 0, ph = 0;
    const std::vector<uint32_t> screen = v.screen_pixels(0, &sw, &sh);
    const std::vector<uint32_t> picture = v.panel_pixels(0, &pw, &ph);
    ASSERT_EQ(sw, pw);
    ASSERT_EQ(sh, ph);
    ASSERT_FALSE(screen.empty());
    size_t differ = 0;
    for (size_t i = 0; i < screen.size(); ++i) differ += screen[i] != picture[i];
    EXPECT_EQ(differ, 0u);
    // Paused and nothing touched: nothing to copy.
    push_key(SDLK_p);
    ASSERT_TRUE(v.frame(0));
    ASSERT_TRUE(v.frame(0));
    EXPECT_EQ(v.last_frame().rects_copied, 0);
}

// A panel file that does not exist: an error naming it, and no window left behind.
TEST_F(ViewerSmoke, MissingPanelFile) {
    tarn::ViewerOptions o = options();
    o.config = (t.path() / "none.cfg").string();
    try {
        tarn::Viewer v(o);
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("none.cfg"), std::string::npos) << e.what();
    }
    tarn::Viewer again(options());  // SDL and the host were left clean
    EXPECT_TRUE(again.window_open(0));
}

/* ---- a real X server ------------------------------------------------------------------- */

namespace {

extern "C" char** environ;

// Xvfb on a display number of its own, stopped at the end; not running when the program
// is not installed.
class Xvfb {
public:
    Xvfb() {
        if (access("/usr/bin/Xvfb", X_OK) != 0) return;
        for (int n = 140 + getpid() % 50; n < 240; ++n) {
            if (access(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), F_OK) == 0) continue;
            display_ = ":" + std::to_string(n);
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
            const char* argv[] = {"Xvfb", display_.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr};
            posix_spawn_file_actions_t quiet;
            posix_spawn_file_actions_init(&quiet);
            posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
            const int failed = posix_spawn(&pid_, "/usr/bin/Xvfb", &quiet, nullptr, const_cast<char**>(argv), environ);
            posix_spawn_file_actions_destroy(&quiet);
            if (failed) {
                pid_ = 0;
                return;
            }
            for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i) usleep(50000);
            if (access(socket.c_str(), F_OK) == 0) return;
            stop();
        }
    }
    ~Xvfb() { stop(); }
    bool running() const { return pid_ > 0; }
    const std::string& display() const { return display_; }

private:
    void stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }
    pid_t pid_ = 0;
    std::string display_;
};

}  // namespace

// Under an X server: what the server shows of the main window, read back from it after
// a switch was clicked and the flight ran, is the panel picture pixel for pixel.
TEST_F(ViewerSmoke, ScreenshotUnderXvfb) {
#if defined(__SANITIZE_ADDRESS__)
    // The X libraries that SDL loads keep a few allocations past their unloading, which
    // LeakSanitizer reports as leaks of an unknown module; the normal build runs this.
    GTEST_SKIP() << "not under AddressSanitizer: the X libraries' own allocations count as leaks";
#endif
    Xvfb x;
    if (!x.running()) GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb)";
    EnvVar display("DISPLAY", x.display().c_str()), driver("SDL_VIDEODRIVER", "x11");
    tarn::ViewerOptions o = options();
    o.scale = 0.4;  // the main window fits the server's screen
    tarn::Viewer v(o);
    const auto at = v.window_point(gauge(v, "TARN2_Instruments", "Radio_Alt_Switch"), 15, 18);
    ASSERT_TRUE(at.has_value());
    push_button(*at, true);
    push_button(*at, false);
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(v.frame(100));
    ASSERT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
    int sw = 0, sh = 0, pw = 0, ph = 0;
    const std::vector<uint32_t> screen = v.screen_pixels(0, &sw, &sh);
    const std::vector<uint32_t> picture = v.panel_pixels(0, &pw, &ph);
    ASSERT_EQ(sw, pw);
    ASSERT_EQ(sh, ph);
    ASSERT_EQ(screen.size(), picture.size());
    ASSERT_FALSE(screen.empty());
    size_t differ = 0;
    for (size_t i = 0; i < screen.size(); ++i) differ += screen[i] != picture[i];
    EXPECT_EQ(differ, 0u);
}
