// Sections: display | windows | input | frames | checks
#define SDL_MAIN_HANDLED
#include "host/view/viewer.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "host/view/audio_out.h"
#include "host/view/hover.h"
#include "host/view/placement.h"
#include "host/core/host.h"
#include "host/draw/banner.h"
#include "host/draw/panel.h"
#include "host/draw/render.h"
#include "host/core/simulation.h"
#include "platform/host_control.h"

namespace tarn {

namespace {

// Holding the button: the first repeat after this long, then one each period.
constexpr uint32_t kRepeatDelayMs = 400;
constexpr uint32_t kRepeatPeriodMs = 100;
constexpr double kFrameMs = 1000.0 / 60.0;
// A frame that comes later than this (the window was dragged, the machine stalled)
// counts as this long, so the model never jumps.
constexpr uint32_t kLongestFrameMs = 250;
constexpr double kSlowest = 0.25, kFastest = 16.0;
// When nothing has moved for this many frames, run() looks again only this often (and
// at once on input).
constexpr int kQuietFrames = 6;
constexpr uint32_t kIdleMs = 200;
// Paused or after the flight's end, from this long after the last input, frames this far
// apart.
constexpr Uint64 kStillAfterMs = 1000;
constexpr uint32_t kStillMs = 100;
// How long the first window waits for the window manager to tell its frame.
constexpr Uint64 kFrameWaitMs = 300;
// Outside the panel picture (a window made larger than the panel's aspect) when the panel
// file gives no background colour.
constexpr unsigned kPanelGrey = 0x3A3E42;

enum CursorKind { kArrow = 0, kHand = 1, kUp = 2, kDown = 3 };

bool env_set(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
}

// A cairo picture (ARGB32 or RGB24: one native-endian word a pixel) seen as an SDL surface.
SDL_Surface* wrap(const Image& image) {
    cairo_surface_t* s = image.surface();
    const Uint32 format = image.has_alpha() ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888;
    SDL_Surface* wrapped = SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(s), image.width(),
                                                              image.height(), 32, cairo_image_surface_get_stride(s), format);
    if (wrapped) SDL_SetSurfaceBlendMode(wrapped, SDL_BLENDMODE_NONE);  // copied as it is, never blended
    return wrapped;
}

// A 16 x 16 arrow pointing up (or down), its tip on the hot spot.
SDL_Cursor* arrow_cursor(bool up) {
    Uint8 data[32] = {}, mask[32] = {};
    auto set = [](Uint8* bits, int x, int y) { bits[y * 2 + x / 8] |= Uint8(0x80 >> (x % 8)); };
    for (int row = 0; row < 16; ++row) {
        const int y = up ? row : 15 - row;
        // Head: rows 0-7 widen by one pixel a side; stem: rows 8-15, 4 pixels wide.
        const int half = row < 8 ? row : 2;
        for (int x = 8 - half - 1; x <= 8 + half; ++x) {
            if (x < 0 || x > 15) continue;
            set(mask, x, y);
            const bool edge = x == 8 - half - 1 || x == 8 + half || (row == 7 && (x < 6 || x > 9)) || row == 15;
            if (edge) set(data, x, y);
        }
    }
    return SDL_CreateCursor(data, mask, 16, 16, 8, up ? 0 : 15);
}

std::string rate_text(double rate) {
    if (rate >= 1) return std::to_string(int(rate)) + "x";
    return "1/" + std::to_string(int(std::lround(1 / rate))) + "x";
}

}  // namespace

/* ---- display ----------------------------------------------------------------------- */

bool display_available(std::string* why) {
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) return true;
    if (env_set("DISPLAY") || env_set("WAYLAND_DISPLAY")) return true;
    if (why)
        *why = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set (SDL_VIDEODRIVER=offscreen runs the "
               "viewer without one)";
    return false;
}

/* ---- windows ----------------------------------------------------------------------- */

struct Viewer::Window {
    const PanelWindow* config = nullptr;
    size_t position = 0;
    SDL_Window* sdl = nullptr;
    std::unique_ptr<PanelRenderer> renderer;
    int width = 0, height = 0;  // the panel picture, pixels
    int ox = 0, oy = 0;         // where it lies in the window: centred
    struct Placed {
        size_t index;  // into Panel::gauges
        GaugeInstance* instance;
        PixelRect rect;
        SDL_Rect box;  // whole pixels it may touch
        std::vector<DrawnState> drawn;
    };
    std::vector<Placed> gauges;  // drawing order
    bool full = true;            // the next draw copies the whole picture
    std::string banner;          // the link's banner drawn last
    Image banner_strip;          // ... as a picture, made when it changes
    unsigned margin = kPanelGrey;  // 0xRRGGBB outside the picture
    std::string title_shown;
};

struct Viewer::Target {
    Window::Placed* placed;
    int x, y;  // gauge pixels
};

struct Viewer::Held {
    Window* window;
    size_t placed;
    uint32_t held_ms = 0;
    uint32_t next_repeat_ms = kRepeatDelayMs;
};

namespace {

// Starts SDL's video on the display the environment names: X11 for DISPLAY, else Wayland,
// else what SDL_VIDEODRIVER asks. SDL left to itself would fall back to its offscreen
// driver and run on invisibly.
void start_video() {
    // Window surfaces as shared memory images: the software OpenGL texture that SDL would
    // otherwise put behind them costs far more (measured: scripts/viewer-cpu.sh).
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");  // the environment variable wins
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    std::string display;
    if (asked == nullptr || *asked == '\0') {
        if (env_set("DISPLAY")) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
            display = std::string("the X display ") + std::getenv("DISPLAY");
        } else if (env_set("WAYLAND_DISPLAY")) {
            SDL_SetHint(SDL_HINT_VIDEODRIVER, "wayland");
            display = std::string("the Wayland display ") + std::getenv("WAYLAND_DISPLAY");
        }
    } else {
        display = std::string("a display with SDL_VIDEODRIVER=") + asked;
    }
    if (display.empty()) display = "a display";
    const int failed = SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);  // the next viewer looks at the environment again
    if (failed != 0) throw ViewerError("cannot open " + display + ": " + SDL_GetError());
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool windowless = driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
    if (windowless && (asked == nullptr || driver == nullptr || std::strcmp(asked, driver) != 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        throw ViewerError("cannot open " + display + ": SDL found only its '" + std::string(driver ? driver : "none") +
                          "' driver, which shows nothing (SDL_VIDEODRIVER=offscreen runs without a display)");
    }
}

}  // namespace

Viewer::Viewer(const ViewerOptions& options) : options_(options) {
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    try {
        start_video();
    } catch (...) {
        SDL_Quit();
        throw;
    }
    video_ = true;
    const char* driver = SDL_GetCurrentVideoDriver();
    x11_ = driver != nullptr && std::strcmp(driver, "x11") == 0;
    try {
        host_ = std::make_unique<PanelHost>(options_.gauges_dir);
        panel_ = std::make_unique<Panel>(*host_, load_panel_config(options_.config));
        if (panel_->config().windows.empty()) throw HostError(options_.config + ": no windows");
        sim_ = std::make_unique<Simulation>(*host_);
        if (options_.profile) sim_->load_profile(*options_.profile);
        sim_->set_profile_enabled(options_.fly_profile);
        host_->update_all();
        if (options_.sound) audio_ = std::make_unique<AudioOut>(AudioOptions{.working_folder = options_.working_folder});

        for (size_t k = 0; k < panel_->config().windows.size(); ++k) {
            auto w = std::make_unique<Window>();
            w->config = &panel_->config().windows[k];
            w->position = k;
            for (size_t i = 0; i < panel_->gauges().size(); ++i) {
                const PlacedGauge& g = panel_->gauges()[i];
                if (g.window != w->config) continue;
                Window::Placed p{i, g.instance, {}, {}, {}};
                if (g.instance) p.drawn.resize(g.instance->element_count());
                w->gauges.push_back(std::move(p));
            }
            windows_.push_back(std::move(w));
        }
        // A --scale that some window cannot take on this screen: said once.
        double smallest = options_.scale;
        for (auto& w : windows_) {
            const WindowPlace p = place(*w);
            if (p.reduced) smallest = std::min(smallest, p.scale);
        }
        if (smallest < options_.scale) {
            char text[200];
            std::snprintf(text, sizeof text,
                          "--scale %g does not fit the screen: windows reduced to fit (down to %.2f); "
                          "--force-scale keeps it",
                          options_.scale, smallest);
            notes_.push_back(text);
        }
        for (auto& w : windows_)
            if (w->position == 0 || w->config->visible) open_window(*w);
    } catch (...) {
        for (auto& w : windows_) close_window(*w);
        audio_.reset();
        sim_.reset();
        panel_.reset();
        host_.reset();
        SDL_Quit();
        throw;
    }
    set_title();
}

Viewer::~Viewer() {
    for (auto& w : windows_) close_window(*w);
    for (void* c : cursors_)
        if (c) SDL_FreeCursor(static_cast<SDL_Cursor*>(c));
    audio_.reset();
    sim_.reset();
    panel_.reset();
    host_.reset();
    SDL_Quit();
}

PanelHost& Viewer::host() { return *host_; }
Panel& Viewer::panel() { return *panel_; }
Simulation& Viewer::simulation() { return *sim_; }
AudioOut* Viewer::audio() { return audio_.get(); }

Viewer::Window* Viewer::window_by_id(uint32_t id) {
    for (auto& w : windows_)
        if (w->sdl && SDL_GetWindowID(w->sdl) == id) return w.get();
    return nullptr;
}

Viewer::Window* Viewer::window_at(size_t position) {
    return position < windows_.size() ? windows_[position].get() : nullptr;
}

bool Viewer::window_open(size_t position) const {
    return position < windows_.size() && windows_[position]->sdl != nullptr;
}

uint32_t Viewer::window_id(size_t position) const {
    return window_open(position) ? SDL_GetWindowID(windows_[position]->sdl) : 0;
}

// Where the panel file puts a window on the screen, at the scale asked or its own.
WindowPlace Viewer::place(const Window& w) const {
    SDL_Rect screen{0, 0, 1024, 768};
    SDL_GetDisplayUsableBounds(0, &screen);
    const auto [uw, uh] = panel_->window_size(*w.config);
    return place_window({.width = uw,
                         .height = uh,
                         .pos = w.config->window_pos,
                         .size = w.config->window_size,
                         .screen = {screen.x, screen.y, screen.w, screen.h},
                         .frame = {frame_borders_[0], frame_borders_[1], frame_borders_[2], frame_borders_[3]},
                         .scale = options_.scale,
                         .force = options_.force_scale});
}

// An X window manager takes a new window's asked position as its frame's (the client
// area lies inside it by the frame's left and top).
int Viewer::x11_frame_x() const { return x11_ ? frame_borders_[1] : 0; }
int Viewer::x11_frame_y() const { return x11_ ? frame_borders_[0] : 0; }

// The window where the panel file places it, the panel picture drawn to fit it.
void Viewer::open_window(Window& w) {
    if (w.sdl) {
        SDL_RaiseWindow(w.sdl);
        return;
    }
    WindowPlace p = place(w);
    const std::string title = w.config->title.empty() ? w.config->key : w.config->title;
    w.sdl = SDL_CreateWindow(title.c_str(), p.box.x - x11_frame_x(), p.box.y - x11_frame_y(), p.box.w, p.box.h,
                             SDL_WINDOW_RESIZABLE);
    if (w.sdl == nullptr) throw ViewerError("cannot open the window " + w.config->key + ": " + SDL_GetError());
    w.title_shown = title;
    // The window manager's frame is known once the first window shows (an X window
    // manager says so soon after it maps the window; without one there is none): placed
    // anew with it, so that the title bar stays on the screen.
    int b[4] = {};
    const Uint64 asked = SDL_GetTicks64();
    bool known = SDL_GetWindowBordersSize(w.sdl, &b[0], &b[1], &b[2], &b[3]) == 0 && b[0] + b[1] + b[2] + b[3] > 0;
    while (x11_ && !frame_asked_ && !known && SDL_GetTicks64() - asked < kFrameWaitMs) {
        SDL_Delay(5);
        SDL_PumpEvents();
        known = SDL_GetWindowBordersSize(w.sdl, &b[0], &b[1], &b[2], &b[3]) == 0 && b[0] + b[1] + b[2] + b[3] > 0;
    }
    frame_asked_ = true;
    if (known && !std::equal(b, b + 4, frame_borders_)) {
        std::copy(b, b + 4, frame_borders_);
        p = place(w);
        SDL_SetWindowSize(w.sdl, p.box.w, p.box.h);
        SDL_SetWindowPosition(w.sdl, p.box.x, p.box.y);  // SDL allows for the frame here
    }
    const PanelWindow& main = panel_->config().windows.front();
    w.margin = w.config->background.value_or(main.background.value_or(kPanelGrey));
    resize_window(w);
}

void Viewer::close_window(Window& w) {
    if (held_ && held_->window == &w) release();
    w.renderer.reset();
    if (w.sdl) SDL_DestroyWindow(w.sdl);
    w.sdl = nullptr;
}

// A new renderer at the scale that fits the window's size now.
void Viewer::resize_window(Window& w) {
    int ww = 0, wh = 0;
    SDL_GetWindowSize(w.sdl, &ww, &wh);
    const auto [uw, uh] = panel_->window_size(*w.config);
    const double s = std::clamp(std::min(std::max(ww, 1) / uw, std::max(wh, 1) / uh), 0.05, 16.0);
    RenderOptions options{.scale = s, .night = night_};
    (w.config->virtual_cockpit ? options.vcockpit : options.window) = w.config->number;
    w.renderer = std::make_unique<PanelRenderer>(*panel_, options);
    const Image& picture = w.renderer->frame();
    w.width = picture.width();
    w.ox = std::max(0, (ww - picture.width()) / 2);
    w.oy = std::max(0, (wh - picture.height()) / 2);
    w.height = picture.height();
    for (Window::Placed& p : w.gauges) {
        p.rect = w.renderer->gauge_rect(p.index).value_or(PixelRect{});
        const int x0 = std::max(0, int(std::floor(p.rect.x)) - 1), y0 = std::max(0, int(std::floor(p.rect.y)) - 1);
        const int x1 = std::min(w.width, int(std::ceil(p.rect.x + p.rect.w)) + 1);
        const int y1 = std::min(w.height, int(std::ceil(p.rect.y + p.rect.h)) + 1);
        p.box = SDL_Rect{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
    }
    if (SDL_Surface* screen = SDL_GetWindowSurface(w.sdl))
        SDL_FillRect(screen, nullptr,
                     SDL_MapRGB(screen->format, Uint8(w.margin >> 16), Uint8(w.margin >> 8), Uint8(w.margin)));
    w.full = true;
}

/* ---- input ------------------------------------------------------------------------- */

// The gauge under a window pixel: the last drawn that holds it (a missing gauge too, at
// gauge pixel 0, 0).
std::optional<Viewer::Target> Viewer::target_at(Window& w, int x, int y) {
    x -= w.ox;
    y -= w.oy;
    for (auto it = w.gauges.rbegin(); it != w.gauges.rend(); ++it) {
        const PixelRect& r = it->rect;
        const double cx = x + 0.5, cy = y + 0.5;
        if (r.w <= 0 || r.h <= 0) continue;
        if (cx < r.x || cy < r.y || cx >= r.x + r.w || cy >= r.y + r.h) continue;
        if (!it->instance) return Target{&*it, 0, 0};
        const int gx = std::clamp(int(std::floor((cx - r.x) / r.w * it->instance->width())), 0, it->instance->width() - 1);
        const int gy =
            std::clamp(int(std::floor((cy - r.y) / r.h * it->instance->height())), 0, it->instance->height() - 1);
        return Target{&*it, gx, gy};
    }
    return std::nullopt;
}

void Viewer::pointer_moved(Window& w, int x, int y) {
    if (held_) {
        // A drag goes to the pressed gauge, at its pixels even outside it.
        if (&w != held_->window) return;
        Window::Placed& p = held_->window->gauges[held_->placed];
        const PixelRect& r = p.rect;
        x -= w.ox;
        y -= w.oy;
        const int gx = int(std::floor((x + 0.5 - r.x) / r.w * p.instance->width()));
        const int gy = int(std::floor((y + 0.5 - r.y) / r.h * p.instance->height()));
        host_->move(*p.instance, gx, gy);
        return;
    }
    std::string hover;
    int cursor = kArrow;
    if (std::optional<Target> t = target_at(w, x, y)) {
        const PlacedGauge& placed = panel_->gauges()[t->placed->index];
        HoverInfo info{.gauge = placed.line->name(),
                       .window = w.config->key,
                       .file = panel_->config().path,
                       .line = placed.line->line,
                       .params = placed.line->params};
        if (!t->placed->instance) {
            info.missing = "not loaded";
            for (const Finding& f : panel_->problems())
                if (f.line == placed.line->line) info.missing = f.message.substr(0, f.message.find(" (drawn as"));
        }
        if (const GaugeInstance* g = t->placed->instance) {
            info.help_id = g->mouse().help_at(t->x, t->y);
            info.help_text = help_id_text(info.help_id);
        }
        hover = hover_text(info);
        const GaugeInstance* g = t->placed->instance;
        if (const MouseChild* c = g ? g->mouse().hit(t->x, t->y) : nullptr) {
            cursor = c->rect->cursor == CURSOR_HAND        ? kHand
                     : c->rect->cursor == CURSOR_UPARROW   ? kUp
                     : c->rect->cursor == CURSOR_DOWNARROW ? kDown
                                                           : kArrow;
        }
    }
    hover_ = hover;
    hover_window_ = w.position;
    set_cursor(cursor);
}

void Viewer::set_cursor(int kind) {
    if (kind == cursor_kind_) return;
    cursor_kind_ = kind;
    if (!cursors_[kind]) {
        cursors_[kind] = kind == kArrow  ? SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW)
                         : kind == kHand ? SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND)
                                         : arrow_cursor(kind == kUp);
    }
    if (cursors_[kind]) SDL_SetCursor(static_cast<SDL_Cursor*>(cursors_[kind]));
}

void Viewer::press(Window& w, int x, int y) {
    if (held_) release();
    std::optional<Target> t = target_at(w, x, y);
    if (!t || !t->placed->instance) return;
    host_->press(*t->placed->instance, t->x, t->y);
    held_ = std::make_unique<Held>(Held{&w, size_t(t->placed - w.gauges.data())});
}

void Viewer::release() {
    if (!held_) return;
    host_->release(*held_->window->gauges[held_->placed].instance);
    held_.reset();
}

void Viewer::key(int sym, bool, Window* focus) {
    if (sym >= SDLK_1 && sym <= SDLK_9) {
        Window* w = window_at(size_t(sym - SDLK_1));
        if (w == nullptr) return;
        if (w->position == 0 || !w->sdl) open_window(*w);
        else close_window(*w);
        return;
    }
    switch (sym) {
        case SDLK_p:
        case SDLK_SPACE: paused_ = !paused_; break;
        case SDLK_PLUS:
        case SDLK_EQUALS:
        case SDLK_KP_PLUS: rate_ = std::min(kFastest, rate_ * 2); break;
        case SDLK_MINUS:
        case SDLK_KP_MINUS: rate_ = std::max(kSlowest, rate_ / 2); break;
        case SDLK_r: rate_ = 1; break;
        case SDLK_n:
            night_ = !night_;
            for (auto& w : windows_)
                if (w->renderer) {
                    w->renderer->set_night(night_);
                    w->full = true;
                }
            break;
        case SDLK_F11:
            if (focus && focus->sdl) {
                const bool full = (SDL_GetWindowFlags(focus->sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
                if (SDL_SetWindowFullscreen(focus->sdl, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
                    std::cerr << "view: F11: " << SDL_GetError() << "\n";
                resize_window(*focus);
            }
            break;
        case SDLK_F12:
            if (focus && focus->sdl) {
                std::string why;
                const std::string path = save_picture(focus->position, ".", &why);
                if (path.empty()) std::cerr << "view: F12: " << why << "\n";
                else std::cout << "view: F12: the " << focus->config->key << " window written to " << path << std::endl;
            }
            break;
        case SDLK_ESCAPE:
        case SDLK_q: quit_ = true; break;
        default: break;
    }
}

void Viewer::handle(const SDL_Event& e) {
    input_ = true;
    switch (e.type) {
        case SDL_QUIT: quit_ = true; break;
        case SDL_KEYDOWN:
            if (!e.key.repeat) {
                // The window with focus: the event's, else the main one.
                Window* focus = window_by_id(e.key.windowID);
                if (focus == nullptr) focus = windows_.empty() ? nullptr : windows_[0].get();
                key(e.key.keysym.sym, (e.key.keysym.mod & KMOD_SHIFT) != 0, focus);
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button == SDL_BUTTON_LEFT)
                if (Window* w = window_by_id(e.button.windowID)) press(*w, e.button.x, e.button.y);
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) release();
            break;
        case SDL_MOUSEMOTION:
            if (Window* w = window_by_id(e.motion.windowID)) pointer_moved(*w, e.motion.x, e.motion.y);
            break;
        case SDL_WINDOWEVENT: {
            Window* w = window_by_id(e.window.windowID);
            if (w == nullptr) break;
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                if (w->position == 0) quit_ = true;
                else close_window(*w);
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                resize_window(*w);
            } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                w->full = true;
            } else if (e.window.event == SDL_WINDOWEVENT_LEAVE) {
                if (hover_window_ == w->position) hover_.clear();
            }
            break;
        }
        default: break;
    }
}

/* ---- frames ------------------------------------------------------------------------ */

void Viewer::advance(uint32_t elapsed_ms) {
    // Holding the button repeats at the pace of real time.
    if (held_) {
        held_->held_ms += elapsed_ms;
        while (held_ && held_->held_ms >= held_->next_repeat_ms) {
            host_->repeat(*held_->window->gauges[held_->placed].instance);
            held_->next_repeat_ms += kRepeatPeriodMs;
        }
    }
    // The clock runs at the model's rate, and at real time while the model is paused.
    clock_carry_ += elapsed_ms * (paused_ ? 1.0 : rate_);
    const uint32_t ms = uint32_t(clock_carry_);
    clock_carry_ -= ms;
    tarn_platform_advance_time(ms);
    stats_.sim_ms = 0;
    if (!paused_ && ms > 0) {
        sim_->step(ms);
        stats_.sim_ms = ms;
    }
    if (options_.after_step) options_.after_step(*host_);
    host_->update_all();
    if (audio_) sound_seen_ = audio_->take_sound_log(sound_seen_);
}

void Viewer::draw(Window& w) {
    // Which gauges show something new: the renderer redraws them, the screen takes them.
    std::vector<SDL_Rect> boxes;
    for (Window::Placed& p : w.gauges) {
        if (!p.instance) continue;
        bool changed = false;
        for (size_t i = 0; i < p.drawn.size(); ++i) changed |= p.drawn[i].take(p.instance->element(i));
        if (changed && p.box.w > 0 && p.box.h > 0) boxes.push_back(p.box);
    }
    const Image& picture = w.renderer->frame();
    const std::string banner = options_.banner ? options_.banner() : "";
    if (banner != w.banner || (!banner.empty() && w.banner_strip.width() != picture.width())) {
        w.full = true;
        w.banner = banner;
        w.banner_strip = make_banner(picture.width(), picture.height(), banner);
    }
    stats_.gauges_redrawn += w.renderer->redrawn();
    if (w.full) {
        boxes.assign(1, SDL_Rect{0, 0, picture.width(), picture.height()});
    } else if (boxes.empty()) {
        return;
    }
    SDL_Surface* screen = SDL_GetWindowSurface(w.sdl);
    SDL_Surface* source = wrap(picture);
    if (screen == nullptr || source == nullptr) {
        if (source) SDL_FreeSurface(source);
        return;  // tried again at the next frame
    }
    for (SDL_Rect& b : boxes) {
        SDL_Rect to{b.x + w.ox, b.y + w.oy, b.w, b.h};
        SDL_BlitSurface(source, &b, screen, &to);
        b = to;
    }
    SDL_FreeSurface(source);
    // The banner over the top rows, again wherever a box reached them.
    if (SDL_Surface* strip = w.banner_strip.empty() ? nullptr : wrap(w.banner_strip)) {
        SDL_Rect to{w.ox, w.oy, strip->w, strip->h};
        bool covered = w.full;
        for (const SDL_Rect& b : boxes) covered = covered || SDL_HasIntersection(&b, &to);
        if (covered) {
            SDL_BlitSurface(strip, nullptr, screen, &to);
            if (!w.full) boxes.push_back(to);
        }
        SDL_FreeSurface(strip);
    }
    // The whole window after a resize or an exposure, so that its margins show too.
    if (w.full) SDL_UpdateWindowSurface(w.sdl);
    else SDL_UpdateWindowSurfaceRects(w.sdl, boxes.data(), int(boxes.size()));
    stats_.rects_copied += int(boxes.size());
    w.full = false;
}

std::string Viewer::title() const {
    const PanelWindow& main = panel_->config().windows.front();
    std::string t = "TARN panel: " + (main.title.empty() ? main.key : main.title) + ", " + rate_text(rate_);
    if (paused_) t += ", paused";
    if (night_) t += ", night";
    const int s = int(sim_->profile_time_s());
    t += ", flight " + std::to_string(s / 60) + ":" + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60);
    if (sim_->finished()) t += " (ended)";
    if (options_.status) t += " | " + options_.status();
    if (!hover_.empty() && hover_window_ == 0) t += " | " + hover_;
    return t;
}

std::string Viewer::window_title(size_t position) const {
    if (position == 0) return title();
    if (position >= windows_.size()) return "";
    const PanelWindow& c = *windows_[position]->config;
    std::string t = "TARN panel: " + (c.title.empty() ? c.key : c.title);
    if (!hover_.empty() && hover_window_ == position) t += " | " + hover_;
    return t;
}

void Viewer::set_title() {
    for (auto& w : windows_) {
        if (!w->sdl) continue;
        const std::string t = window_title(w->position);
        if (t == w->title_shown) continue;
        SDL_SetWindowTitle(w->sdl, t.c_str());
        w->title_shown = t;
    }
}

bool Viewer::frame(uint32_t elapsed_ms) {
    const Uint64 start = SDL_GetPerformanceCounter();
    SDL_Event e;
    while (!quit_ && SDL_PollEvent(&e)) handle(e);
    if (quit_) return false;
    stats_.gauges_redrawn = 0;
    stats_.rects_copied = 0;
    advance(elapsed_ms);
    for (auto& w : windows_)
        if (w->sdl) draw(*w);
    set_title();
    stats_.ms = double(SDL_GetPerformanceCounter() - start) * 1000.0 / double(SDL_GetPerformanceFrequency());
    return true;
}

int Viewer::run(long frames) {
    Uint64 last = SDL_GetTicks64();
    Uint64 last_input = last;
    double next = double(last);
    int quiet = 0;  // frames in a row that showed nothing new
    for (long n = 0; !quit_ && (frames == 0 || n < frames); ++n) {
        const Uint64 now = SDL_GetTicks64();
        const uint32_t elapsed = uint32_t(std::min<Uint64>(now - last, kLongestFrameMs));
        last = now;
        input_ = false;
        if (!frame(elapsed)) break;
        if (input_) last_input = now;
        quiet = stats_.rects_copied > 0 || input_ || held_ ? 0 : quiet + 1;
        // The next frame: at once while something moves; while nothing does, in kIdleMs.
        // Paused or after the flight's end only the panel's own slow motions are left
        // (needles easing to rest, the clock): 60 frames a second for a second after
        // input, then kStillMs apart.
        double pace = quiet >= kQuietFrames ? double(kIdleMs) : kFrameMs;
        const bool still = paused_ || sim_->finished();
        if (still && !held_ && now - last_input >= kStillAfterMs) pace = std::max(pace, double(kStillMs));
        next += pace;
        if (double(SDL_GetTicks64()) > next + kFrameMs) next = double(SDL_GetTicks64());
        // Wait for it, handling input as it comes; input ends a longer wait at once.
        const bool slow = pace > kFrameMs;
        input_ = false;
        for (Uint64 t; !quit_ && !(slow && input_) && double(t = SDL_GetTicks64()) < next;) {
            SDL_Event e;
            if (SDL_WaitEventTimeout(&e, std::max(1, int(next - double(t))))) handle(e);
        }
        if (input_) {
            last_input = SDL_GetTicks64();
            quiet = 0;
            if (slow) next = double(last_input);
        }
    }
    return 0;
}

/* ---- checks ------------------------------------------------------------------------ */

std::optional<Viewer::Point> Viewer::window_point(size_t index, int gauge_x, int gauge_y) const {
    for (const auto& w : windows_) {
        if (!w->sdl) continue;
        for (const Window::Placed& p : w->gauges) {
            if (p.index != index || !p.instance) continue;
            const double x = p.rect.x + (gauge_x + 0.5) * p.rect.w / p.instance->width();
            const double y = p.rect.y + (gauge_y + 0.5) * p.rect.h / p.instance->height();
            return Point{SDL_GetWindowID(w->sdl), w->ox + int(std::floor(x)), w->oy + int(std::floor(y))};
        }
    }
    return std::nullopt;
}

namespace {

std::vector<uint32_t> argb_pixels(SDL_Surface* s, int width, int height) {
    std::vector<uint32_t> out(size_t(width) * size_t(height));
    if (SDL_ConvertPixels(width, height, s->format->format, s->pixels, s->pitch, SDL_PIXELFORMAT_ARGB8888, out.data(),
                          width * 4) != 0)
        out.clear();
    for (uint32_t& p : out) p |= 0xFF000000u;
    return out;
}

#if defined(SDL_VIDEO_DRIVER_X11)
// What the X server holds of a window's top-left width x height pixels (ARGB), read back
// from it; empty when the window is not an X window or the server cannot give them. The
// X library is the one SDL loaded; nothing links against it.
std::vector<uint32_t> x11_pixels(SDL_Window* window, int x0, int y0, int width, int height) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
    void* lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (lib == nullptr) return {};
    using GetImage = XImage* (*)(Display*, Drawable, int, int, unsigned, unsigned, unsigned long, int);
    using Sync = int (*)(Display*, Bool);
    using SetHandler = XErrorHandler (*)(XErrorHandler);
    auto get_image = reinterpret_cast<GetImage>(dlsym(lib, "XGetImage"));
    auto sync = reinterpret_cast<Sync>(dlsym(lib, "XSync"));
    auto set_handler = reinterpret_cast<SetHandler>(dlsym(lib, "XSetErrorHandler"));
    std::vector<uint32_t> out;
    if (get_image && sync && set_handler) {
        Display* d = info.info.x11.display;
        sync(d, False);
        // A window partly off the screen cannot be read: an error, not the end of the program.
        const XErrorHandler old = set_handler([](Display*, XErrorEvent*) { return 0; });
        XImage* image = get_image(d, info.info.x11.window, x0, y0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
        sync(d, False);
        set_handler(old);
        if (image != nullptr) {
            if (image->bits_per_pixel == 32 && image->red_mask == 0xFF0000 && image->green_mask == 0xFF00 &&
                image->blue_mask == 0xFF) {
                out.resize(size_t(width) * size_t(height));
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x) {
                        uint32_t p;
                        std::memcpy(&p, image->data + size_t(y) * size_t(image->bytes_per_line) + size_t(x) * 4, 4);
                        out[size_t(y) * size_t(width) + size_t(x)] = p | 0xFF000000u;
                    }
            }
            image->f.destroy_image(image);  // XDestroyImage
        }
    }
    dlclose(lib);
    return out;
}
#else
std::vector<uint32_t> x11_pixels(SDL_Window*, int, int, int, int) { return {}; }
#endif

}  // namespace

std::vector<uint32_t> Viewer::screen_pixels(size_t position, int* width, int* height) const {
    *width = *height = 0;
    if (!window_open(position)) return {};
    const Window& w = *windows_[position];
    SDL_Surface* s = SDL_GetWindowSurface(w.sdl);
    if (s == nullptr) return {};
    *width = std::min(s->w - w.ox, w.width);
    *height = std::min(s->h - w.oy, w.height);
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "x11") == 0) {
        std::vector<uint32_t> shown = x11_pixels(w.sdl, w.ox, w.oy, *width, *height);
        if (shown.empty()) *width = *height = 0;
        return shown;
    }
    SDL_LockSurface(s);
    std::vector<uint32_t> out;
    {
        // Only the panel picture's part of the window.
        SDL_Surface part = *s;
        part.pixels = static_cast<Uint8*>(s->pixels) + size_t(w.oy) * size_t(s->pitch) + size_t(w.ox) * 4;
        part.w = *width;
        part.h = *height;
        out = argb_pixels(&part, *width, *height);
    }
    SDL_UnlockSurface(s);
    return out;
}

std::string Viewer::save_picture(size_t position, const std::string& folder, std::string* error) {
    if (!window_open(position)) {
        *error = "the window is not open";
        return "";
    }
    Window& w = *windows_[position];
    const Image& picture = w.renderer->frame();
    int ww = 0, wh = 0;
    SDL_GetWindowSize(w.sdl, &ww, &wh);
    ww = std::max({ww, picture.width(), 1});
    wh = std::max({wh, picture.height(), 1});
    Image shot(ww, wh, false);
    cairo_surface_flush(shot.surface());
    for (int y = 0; y < wh; ++y) {
        uint32_t* row = shot.row(y);
        const int py = y - w.oy;
        const uint32_t* from = py >= 0 && py < picture.height() ? picture.row(py) : nullptr;
        for (int x = 0; x < ww; ++x) {
            const int px = x - w.ox;
            row[x] = from && px >= 0 && px < picture.width() ? from[px] | 0xFF000000u : (0xFF000000u | w.margin);
        }
    }
    cairo_surface_mark_dirty(shot.surface());
    // A new name each time: tarn-panel-Window00-1.png, -2, ...
    std::error_code ec;
    std::filesystem::path path;
    for (int n = 1;; ++n) {
        path = std::filesystem::absolute(std::filesystem::path(folder) /
                                             ("tarn-panel-" + w.config->key + "-" + std::to_string(n) + ".png"),
                                         ec)
                   .lexically_normal();
        if (ec) {
            *error = folder + ": " + ec.message();
            return "";
        }
        if (!std::filesystem::exists(path, ec)) break;
    }
    if (!write_png(shot, path.string(), kPngFast, error)) return "";
    return path.string();
}

std::vector<uint32_t> Viewer::panel_pixels(size_t position, int* width, int* height) {
    *width = *height = 0;
    if (!window_open(position)) return {};
    const Image& picture = windows_[position]->renderer->frame();
    SDL_Surface* s = wrap(picture);
    if (s == nullptr) return {};
    *width = picture.width();
    *height = picture.height();
    std::vector<uint32_t> out = argb_pixels(s, *width, *height);
    SDL_FreeSurface(s);
    return out;
}

}  // namespace tarn
