// The interactive panel: the windows of a panel file in SDL windows, the aircraft model and
// flight profile running in real time, the pilot's mouse going to the gauges, and the
// gauges' sounds on the audio device.
//
//   std::string why;
//   if (!display_available(&why)) { std::cerr << why; return 2; }
//   Viewer v({.gauges_dir = "build/gauges", .config = "panel/panel.cfg"});
//   return v.run();                                 // until the main window closes
//
// Keys: 1 raises the main window; 2 to 9 open and close the panel's other windows (also
// with Shift, as in the simulator); P or Space pauses the model and profile (the panel
// and its clock go on); + and - run them faster or slower (1/4 to 16 times), R at real
// time again; N switches the night lighting; F11 puts the window with focus in full screen
// and back; F12 writes a PNG of it to the current folder; Escape or Q quits.
// Mouse: the left button presses the gauge under the pointer at that gauge pixel, holding
// it repeats (first after 400 ms, then every 100 ms), moving it drags, letting go
// releases. The title of the window under the pointer names the gauge there (module,
// window and panel file line, parameters) and what its help id names, or why a missing
// gauge is missing; the pointer takes the region's cursor (hand, up or down arrow).
// Windows are placed as the panel file's window_pos and window_size say (placement.h).
// Each frame: the host clock and the model move on by the time since the last frame (times
// the rate), every gauge is updated, new sounds are played, and each open window copies to
// the screen only the gauges whose pictures changed. When nothing has moved for a few
// frames, run() waits for input and looks again only five times a second; paused or
// after the flight's end, ten times a second from a second after the last input.
// Everything runs on the thread that made the viewer; one viewer at a time (one host).
#ifndef TARN_HOST_VIEWER_H
#define TARN_HOST_VIEWER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/errors.h"

struct SDL_Window;
struct SDL_Surface;
union SDL_Event;

namespace tarn {

class PanelHost;
class Panel;
class PanelRenderer;
class Simulation;
class AudioOut;
struct PanelWindow;
struct WindowPlace;

// Whether SDL can show windows here: a display (DISPLAY or WAYLAND_DISPLAY), or
// SDL_VIDEODRIVER set to "offscreen" or "dummy". When not, `why` says so. A display that
// is named but cannot be opened is found by the Viewer (ViewerError): SDL is never let
// fall back to a driver without windows unless SDL_VIDEODRIVER asks for it.
bool display_available(std::string* why);

struct ViewerOptions {
    std::string gauges_dir;
    std::string config;                  // the panel file
    std::optional<std::string> profile;  // a flight profile file; the built-in one when absent
    bool fly_profile = true;             // false: the model runs, the flight path stays
    std::string working_folder = ".";    // the host's working folder, where "sound" lies
    double scale = 0;                    // pixels per panel unit; 0: as the panel file places the windows
    bool force_scale = false;            // keep `scale` even where a window leaves the screen
    bool sound = true;
    // A simulator link (view --link): after_step runs after each model step, before the
    // gauges update; status() goes into the title; a banner() that is not empty is drawn
    // across the top of every window.
    std::function<void(PanelHost&)> after_step;
    std::function<std::string()> status;
    std::function<std::string()> banner;
};

// What a frame did, for the title and the benchmark.
struct FrameStats {
    uint32_t sim_ms = 0;    // model time stepped
    int gauges_redrawn = 0; // gauge pictures drawn anew
    int rects_copied = 0;   // boxes copied to the screen
    double ms = 0;          // wall time the frame took
};

class Viewer {
public:
    // Opens the panel's windows (those the panel file shows at the start), loads the
    // modules and makes every gauge, starts the model and the sound. Throws HostError,
    // PanelConfigError, or ViewerError when SDL cannot make a window.
    explicit Viewer(const ViewerOptions& options);
    ~Viewer();
    Viewer(const Viewer&) = delete;
    Viewer& operator=(const Viewer&) = delete;

    // Runs at 60 frames a second until the user quits (or after `frames` frames when not
    // 0). Returns the exit status: 0.
    int run(long frames = 0);
    // Handles the events waiting, then one frame as if `elapsed_ms` of real time had
    // passed since the last. False once the user asked to quit.
    bool frame(uint32_t elapsed_ms);
    // One input event, as frame() handles it (for tests that make their own).
    void handle(const SDL_Event& event);

    PanelHost& host();
    Panel& panel();
    Simulation& simulation();
    AudioOut* audio();  // nullptr without sound
    const FrameStats& last_frame() const { return stats_; }

    // The state the keys change.
    bool paused() const { return paused_; }
    double rate() const { return rate_; }
    bool night() const { return night_; }
    bool quit_requested() const { return quit_; }
    // Whether the panel window with this position in the panel file (0: the main one)
    // shows, and its SDL window id (0 when closed).
    bool window_open(size_t position) const;
    uint32_t window_id(size_t position) const;
    // The window pixel where a gauge pixel of placed gauge `index` lies (its centre), or
    // nullopt when the gauge's window is closed.
    struct Point {
        uint32_t window_id;
        int x, y;
    };
    std::optional<Point> window_point(size_t index, int gauge_x, int gauge_y) const;
    // The main window's title: the panel, the rate, and what the pointer is over.
    std::string title() const;
    // A window's title: the main one's above; the others' name the window, and what the
    // pointer is over when it is over that window.
    std::string window_title(size_t position) const;
    // What the user should know of the start (a --scale reduced to fit the screen).
    const std::vector<std::string>& notes() const { return notes_; }
    // What the window shows, margins included, written as a PNG in `folder` (F12); the
    // file's path, or "" and `error`.
    std::string save_picture(size_t position, const std::string& folder, std::string* error);
    // A copy of what a window shows on the screen where the panel picture lies (centred in
    // the window; ARGB), for checks: read back from the X server under X11 (nothing when it
    // cannot be read), otherwise the window's surface.
    std::vector<uint32_t> screen_pixels(size_t position, int* width, int* height) const;
    // The panel picture the renderer holds for that window (ARGB), for checks.
    std::vector<uint32_t> panel_pixels(size_t position, int* width, int* height);

private:
    struct Window;
    struct Target;
    Window* window_by_id(uint32_t id);
    Window* window_at(size_t position);
    WindowPlace place(const Window& w) const;
    void open_window(Window& w);
    void close_window(Window& w);
    void resize_window(Window& w);
    std::optional<Target> target_at(Window& w, int x, int y);
    void pointer_moved(Window& w, int x, int y);
    void press(Window& w, int x, int y);
    void release();
    void key(int sym, bool shift, Window* focus);
    void advance(uint32_t elapsed_ms);
    void draw(Window& w);
    void set_title();
    void set_cursor(int kind);

    ViewerOptions options_;
    bool video_ = false;
    std::unique_ptr<PanelHost> host_;
    std::unique_ptr<Panel> panel_;
    std::unique_ptr<Simulation> sim_;
    std::unique_ptr<AudioOut> audio_;
    std::vector<std::unique_ptr<Window>> windows_;  // one per panel window, in file order
    bool paused_ = false;
    double rate_ = 1.0;
    bool night_ = false;
    bool quit_ = false;
    double sim_carry_ = 0;  // model milliseconds not stepped yet
    double clock_carry_ = 0;
    size_t sound_seen_ = 0;
    // The held button.
    struct Held;
    std::unique_ptr<Held> held_;
    // What the pointer is over, and in which window (its position).
    std::string hover_;
    size_t hover_window_ = 0;
    std::vector<std::string> notes_;
    int frame_borders_[4] = {};  // the window manager's frame: top, left, bottom, right
    bool frame_asked_ = false;
    bool x11_ = false;
    int x11_frame_x() const;
    int x11_frame_y() const;
    bool input_ = false;         // an event came since run() last looked
    int cursor_kind_ = -1;
    void* cursors_[4] = {};  // arrow, hand, up, down (SDL_Cursor)
    FrameStats stats_;
};

// SDL could not make or show a window.
class ViewerError : public HostError {
public:
    using HostError::HostError;
};

}  // namespace tarn

#endif
