// One gauge shown on a panel: its own deep copy of the gauge's header, element tree and
// mouse list, and the element engine that updates it.
//
//   auto g = GaugeInstance::create(plugin, header, "2", host_context);  // pre-install .. connect
//   g->update(now_ms);              // pre-update, then every element in drawing order
//   g->element(3).angle;            // what the host draws
//   g->kill();                      // pre-kill, then kill
//
// Module variables stay shared by all instances of a gauge: only the records are copied,
// so install-time rewrites (the engine selector) apply once per instance.
#ifndef TARN_HOST_INSTANCE_H
#define TARN_HOST_INSTANCE_H

#include <memory>
#include <string>
#include <vector>

#include "framework/gauge.h"
#include "host/core/mouse.h"
#include "host/core/nonlinearity.h"
#include "host/core/plugin.h"
#include "host/core/variables.h"

namespace tarn {

// The set of active simulator failures (keys below 64).
class FailureSet {
public:
    void fail(uint32_t key) { if (key < 64) bits_ |= uint64_t(1) << key; }
    void repair(uint32_t key) { if (key < 64) bits_ &= ~(uint64_t(1) << key); }
    bool active(uint32_t key) const { return key < 64 && (bits_ >> key) & 1; }
    void clear() { bits_ = 0; }

private:
    uint64_t bits_ = 0;
};

// What an instance needs from its host.
struct InstanceContext {
    VariableStore* vars;
    const FailureSet* failures;
};

// Size of every text element's buffer: the most a Win32 formatter call can write.
constexpr UINT32 kTextBufferSize = 1024;

// The host's state of one element, in drawing order.
struct ElementState {
    ELEMENT_HEADER* element = nullptr;  // the instance's copy
    int depth = 0;                      // 0 for the root
    int axes = 0;                       // value axes: 1, or 2 (x, y), or 3 (x, y, rotation)
    MODULE_VAR* vars[3] = {};
    int32_t slots[3] = {-1, -1, -1};    // store slot per axis; -1: token 0
    // The latest value per axis, after the callback. Sliders, moving images and sprites
    // are drawn from it as it stands, so there it is the value held to what gives a place
    // (placed_value in instance.cpp); needles, icons and texts keep the callback's value.
    double value[3] = {};
    // Needles.
    bool has_table = false;
    NeedleTable table;
    double table_ends[2] = {};          // directions of the table's least and greatest value
    double target = 0.0;                // direction the value asks for
    double angle = 0.0;                 // direction drawn (after the slew limit)
    bool angle_set = false;
    // Icons: frame drawn, -1 for none.
    int frame = -1;
    // Failure action 3 is active.
    bool failed_hidden = false;
    // Bitmap size (0 for texts).
    int width = 0, height = 0;

    bool hidden() const { return failed_hidden || (element->image_flags & IMAGE_HIDDEN) != 0; }
};

class GaugeInstance {
public:
    // Copies the gauge's records, then pre-install (2, with the resource handle), install,
    // initialise and connect to window (14). Throws HostError naming the gauge.
    static std::unique_ptr<GaugeInstance> create(const Plugin& plugin, const GAUGEHDR& gauge,
                                                 const std::string* parameters, InstanceContext context);
    ~GaugeInstance();
    GaugeInstance(const GaugeInstance&) = delete;
    GaugeInstance& operator=(const GaugeInstance&) = delete;

    // Pre-update (6), then each element: refresh, failures, callback, mapping, slew.
    void update(uint32_t now_ms);
    // Pre-kill (12), then kill. Safe to call twice.
    void kill();

    const std::string& full_name() const { return full_name_; }
    // The module the gauge comes from (its bitmaps, for drawing).
    const Plugin& plugin() const { return *plugin_; }
    GAUGEHDR& header() { return header_; }
    size_t element_count() const { return states_.size(); }
    ElementState& element(size_t index) { return states_[index]; }
    const ElementState& element(size_t index) const { return states_[index]; }
    const MouseMap& mouse() const { return mouse_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const char* text(size_t index) const;

    // Mouse events at gauge pixel (x, y). Key events of children go to `send`.
    template <class Send>
    void press(int x, int y, Send&& send);
    template <class Send>
    void repeat(Send&& send);
    void move(int x, int y);
    void release() { pressed_ = nullptr; }

private:
    GaugeInstance() = default;
    union AnyElement {
        ELEMENT_HEADER header;
        ELEMENT_STATIC_IMAGE image;
        ELEMENT_NEEDLE needle;
        ELEMENT_STRING text;
        ELEMENT_SLIDER slider;
        ELEMENT_ICON icon;
        ELEMENT_MOVING_IMAGE moving;
        ELEMENT_SPRITE sprite;
    };
    size_t count_tree(const ELEMENT_HEADER* e, int depth, size_t count) const;
    ELEMENT_HEADER* copy_tree(const ELEMENT_HEADER* e, ELEMENT_HEADER* parent, int depth);
    void install(const Plugin& plugin);
    void install_element(const Plugin& plugin, ElementState& s, size_t index);
    void update_element(ElementState& s, double seconds);
    void call_gauge(SINT32 service, UINT32 extra);
    std::string where(size_t index) const;
    void fire(const MouseChild& c, int x, int y, FLAGS32 flags);

    std::string full_name_;
    const Plugin* plugin_ = nullptr;
    InstanceContext context_{};
    GAUGEHDR header_{};
    ELEMENT_HEADER* root_list_[2] = {nullptr, nullptr};
    std::string parameters_;
    std::vector<AnyElement> elements_;
    std::vector<std::vector<ELEMENT_HEADER*>> child_lists_;
    std::vector<std::vector<NONLINEARITY>> tables_;
    std::vector<MOUSERECT> mouse_records_;
    std::vector<std::unique_ptr<char[]>> text_buffers_;
    std::vector<ElementState> states_;
    MouseMap mouse_;
    int width_ = 0, height_ = 0;
    bool installed_ = false;
    bool killed_ = false;
    bool updated_ = false;
    uint32_t last_update_ms_ = 0;
    const MouseChild* pressed_ = nullptr;
    int press_x_ = 0, press_y_ = 0;
};

template <class Send>
void GaugeInstance::press(int x, int y, Send&& send) {
    pressed_ = mouse_.hit(x, y);
    if (pressed_ == nullptr || !(pressed_->rect->mouse_flags & MOUSE_LEFTSINGLE)) {
        pressed_ = nullptr;
        return;
    }
    press_x_ = x;
    press_y_ = y;
    if (pressed_->rect->event_id != 0) send(pressed_->rect->event_id, 0u);
    else fire(*pressed_, x, y, MOUSE_LEFTSINGLE);
}

template <class Send>
void GaugeInstance::repeat(Send&& send) {
    if (pressed_ == nullptr || !(pressed_->rect->mouse_flags & MOUSE_DOWN_REPEAT)) return;
    if (pressed_->rect->event_id != 0) send(pressed_->rect->event_id, 0u);
    else fire(*pressed_, press_x_, press_y_, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT);
}

}  // namespace tarn

#endif
