#include "host/core/instance.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "host/core/errors.h"

namespace tarn {

namespace {

constexpr size_t kMaxElements = 10000;
constexpr int kMaxDepth = 64;
constexpr size_t kMaxChildren = 1024;
constexpr uint32_t kMaxTableEntries = 4096;
constexpr size_t kMaxMouseRecords = 4096;
constexpr size_t kMaxFailureRecords = 64;

size_t element_size(uint32_t type) {
    switch (type) {
    case ELEMENT_TYPE_STATIC_IMAGE: return sizeof(ELEMENT_STATIC_IMAGE);
    case ELEMENT_TYPE_NEEDLE: return sizeof(ELEMENT_NEEDLE);
    case ELEMENT_TYPE_STRING: return sizeof(ELEMENT_STRING);
    case ELEMENT_TYPE_SLIDER: return sizeof(ELEMENT_SLIDER);
    case ELEMENT_TYPE_ICON: return sizeof(ELEMENT_ICON);
    case ELEMENT_TYPE_MOVING_IMAGE: return sizeof(ELEMENT_MOVING_IMAGE);
    case ELEMENT_TYPE_SPRITE: return sizeof(ELEMENT_SPRITE);
    default: return 0;
    }
}

const char* kind_name(uint32_t type) {
    switch (type) {
    case ELEMENT_TYPE_STATIC_IMAGE: return "static image";
    case ELEMENT_TYPE_NEEDLE: return "needle";
    case ELEMENT_TYPE_STRING: return "text";
    case ELEMENT_TYPE_SLIDER: return "slider";
    case ELEMENT_TYPE_ICON: return "icon";
    case ELEMENT_TYPE_MOVING_IMAGE: return "moving image";
    case ELEMENT_TYPE_SPRITE: return "sprite";
    default: return "element of unknown kind";
    }
}

std::string hex(int64_t v) {
    std::ostringstream s;
    s << "0x" << std::hex << v;
    return s.str();
}

double numeric(const MODULE_VAR& v) {
    switch (v.var_type) {
    case VAR_KIND_INT32: return v.var_value.d;
    case VAR_KIND_TEXT: return 0.0;
    default: return v.var_value.n;
    }
}

// The value of one axis of a slider, moving image or sprite, which is drawn from it as it
// stands: a value that is no number keeps the axis where it was (0 before the first
// number); so does an infinity on a slider or sprite, whose travel has no end, while a
// moving image holds one to the limit it lies beyond. Other kinds keep the callback's value.
double placed_value(const ELEMENT_HEADER* e, int axis, double value, double last) {
    switch (e->element_type) {
    case ELEMENT_TYPE_SLIDER:
    case ELEMENT_TYPE_SPRITE: return std::isfinite(value) ? value : last;
    case ELEMENT_TYPE_MOVING_IMAGE: {
        if (std::isnan(value)) return last;
        if (!std::isinf(value)) return value;
        const auto* m = reinterpret_cast<const ELEMENT_MOVING_IMAGE*>(e);
        const double lo = axis == 0 ? m->min_x : m->min_y, hi = axis == 0 ? m->max_x : m->max_y;
        return value > 0 ? std::fmax(lo, hi) : std::fmin(lo, hi);
    }
    default: return value;
    }
}

// The callback of one value axis of an element, called on the element; without a
// callback the axis shows its source value.
double axis_value(ELEMENT_HEADER* e, int axis, const MODULE_VAR* var) {
    switch (e->element_type) {
    case ELEMENT_TYPE_NEEDLE: {
        auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(e);
        if (n->update_cb) return n->update_cb(n);
        break;
    }
    case ELEMENT_TYPE_STRING: {
        auto* t = reinterpret_cast<ELEMENT_STRING*>(e);
        if (t->update_cb) return t->update_cb(t);
        break;
    }
    case ELEMENT_TYPE_ICON: {
        auto* i = reinterpret_cast<ELEMENT_ICON*>(e);
        if (i->update_cb) return i->update_cb(i);
        break;
    }
    case ELEMENT_TYPE_SLIDER: {
        auto* s = reinterpret_cast<ELEMENT_SLIDER*>(e);
        SLIDER_UPDATE_CALLBACK cb = axis == 0 ? s->update_x_cb : s->update_y_cb;
        if (cb) return cb(s);
        break;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        auto* m = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e);
        MOVING_IMAGE_UPDATE_CALLBACK cb = axis == 0 ? m->update_x_cb : m->update_y_cb;
        if (cb) return cb(m);
        break;
    }
    case ELEMENT_TYPE_SPRITE: {
        auto* s = reinterpret_cast<ELEMENT_SPRITE*>(e);
        SPRITE_UPDATE_CALLBACK cb = axis == 0 ? s->update_x_cb : axis == 1 ? s->update_y_cb : s->update_0_cb;
        if (cb) return cb(s);
        break;
    }
    default: break;
    }
    return var ? numeric(*var) : 0.0;
}

}  // namespace

GaugeInstance::~GaugeInstance() { kill(); }

size_t GaugeInstance::count_tree(const ELEMENT_HEADER* e, int depth, size_t count) const {
    if (depth > kMaxDepth) throw HostError(full_name_ + ": element tree deeper than " + std::to_string(kMaxDepth));
    if (++count > kMaxElements)
        throw HostError(full_name_ + ": element tree larger than " + std::to_string(kMaxElements) +
                        " elements (a child list that loops?)");
    if (e->next_element) {
        for (size_t i = 0; e->next_element[i] != nullptr; ++i) {
            if (i == kMaxChildren)
                throw HostError(full_name_ + ": a child list without its NULL end within " +
                                std::to_string(kMaxChildren) + " entries");
            count = count_tree(e->next_element[i], depth + 1, count);
        }
    }
    return count;
}

ELEMENT_HEADER* GaugeInstance::copy_tree(const ELEMENT_HEADER* e, ELEMENT_HEADER* parent, int depth) {
    const size_t size = element_size(e->element_type);
    const size_t index = elements_.size();
    if (size == 0)
        throw HostError(full_name_ + ": element " + std::to_string(index + 1) + " has unknown kind " +
                        std::to_string(e->element_type));
    elements_.emplace_back();
    std::memcpy(&elements_[index], e, size);
    ELEMENT_HEADER* copy = &elements_[index].header;
    copy->gauge_header = &header_;
    copy->previous_element = parent;
    ElementState state;
    state.element = copy;
    state.depth = depth;
    states_.push_back(std::move(state));
    if (e->element_type == ELEMENT_TYPE_NEEDLE) {
        auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(copy);
        if (n->nonlinearity && n->nonlinearity_table_size > 0) {
            if (n->nonlinearity_table_size > kMaxTableEntries)
                throw HostError(where(index) + ": nonlinearity table of " + std::to_string(n->nonlinearity_table_size) +
                                " entries (at most " + std::to_string(kMaxTableEntries) + ")");
            tables_.emplace_back(n->nonlinearity, n->nonlinearity + n->nonlinearity_table_size);
            n->nonlinearity = tables_.back().data();
        }
    }
    if (e->next_element) {
        std::vector<ELEMENT_HEADER*> list;
        for (size_t i = 0; e->next_element[i] != nullptr; ++i) list.push_back(copy_tree(e->next_element[i], copy, depth + 1));
        list.push_back(nullptr);
        child_lists_.push_back(std::move(list));
        copy->next_element = child_lists_.back().data();
    }
    return copy;
}

std::unique_ptr<GaugeInstance> GaugeInstance::create(const Plugin& plugin, const GAUGEHDR& gauge,
                                                     const std::string* parameters, InstanceContext context) {
    std::unique_ptr<GaugeInstance> g(new GaugeInstance);
    g->full_name_ = plugin.name() + "!" + gauge.gauge_name;
    g->plugin_ = &plugin;
    g->context_ = context;
    g->header_ = gauge;
    if (parameters) {
        g->parameters_ = *parameters;
        g->header_.parameters = g->parameters_.c_str();
    }
    const ELEMENT_HEADER* root = gauge.elements_list ? gauge.elements_list[0] : nullptr;
    if (root == nullptr) throw HostError(g->full_name_ + ": the gauge has no root element");
    const size_t count = g->count_tree(root, 0, 0);
    g->elements_.reserve(count);
    g->states_.reserve(count);
    g->root_list_[0] = g->copy_tree(root, nullptr, 0);
    g->header_.elements_list = g->root_list_;
    if (gauge.mouse_rect) {
        size_t n = 0;
        while (gauge.mouse_rect[n].rect_type != MOUSE_RECT_EOL) {
            if (++n == kMaxMouseRecords)
                throw HostError(g->full_name_ + ": mouse list without an end-of-list record within " +
                                std::to_string(kMaxMouseRecords) + " records");
        }
        g->mouse_records_.assign(gauge.mouse_rect, gauge.mouse_rect + n + 1);
        g->header_.mouse_rect = g->mouse_records_.data();
    }
    g->call_gauge(PANEL_SERVICE_PRE_INSTALL, plugin.resource_handle());
    try {
        g->install(plugin);
    } catch (...) {
        g->call_gauge(PANEL_SERVICE_PRE_KILL, 0);
        g->killed_ = true;
        throw;
    }
    g->call_gauge(PANEL_SERVICE_CONNECT_TO_WINDOW, 0);
    return g;
}

std::string GaugeInstance::where(size_t index) const {
    return full_name_ + ": element " + std::to_string(index + 1) + " (" +
           kind_name(elements_[index].header.element_type) + ")";
}

void GaugeInstance::install(const Plugin& plugin) {
    if (states_[0].element->element_type != ELEMENT_TYPE_STATIC_IMAGE)
        throw HostError(full_name_ + ": the root element is not a static image");
    for (size_t i = 0; i < states_.size(); ++i) install_element(plugin, states_[i], i);
    width_ = states_[0].width;
    height_ = states_[0].height;
    header_.size = {width_, height_};
    mouse_ = MouseMap::build(header_.mouse_rect, width_, height_, full_name_);
    installed_ = true;
}

void GaugeInstance::install_element(const Plugin& plugin, ElementState& s, size_t index) {
    ELEMENT_HEADER* e = s.element;
    // Bitmaps: an icon needs every frame; a text has none.
    if (e->element_type != ELEMENT_TYPE_STRING) {
        uint32_t frames = 1;
        if (e->element_type == ELEMENT_TYPE_ICON) frames = std::max<UINT32>(1, reinterpret_cast<ELEMENT_ICON*>(e)->picture_count);
        if (frames > 256) throw HostError(where(index) + ": " + std::to_string(frames) + " frames (at most 256)");
        for (uint32_t k = 0; k < frames; ++k) {
            BitmapInfo info;
            if (!plugin.bitmap(e->resource_id + int32_t(k), info))
                throw HostError(where(index) + ": no bitmap resource " + hex(e->resource_id + int32_t(k)) + " (" +
                                std::to_string(e->resource_id + int32_t(k)) + ") in " + plugin.name());
            if (k == 0) {
                s.width = info.width;
                s.height = info.height;
            }
        }
    }
    if (e->failure_systems) {
        size_t n = 0;
        while (e->failure_systems[n].key != 0)
            if (++n == kMaxFailureRecords) throw HostError(where(index) + ": failure list without its end record");
    }
    switch (e->element_type) {
    case ELEMENT_TYPE_NEEDLE: {
        auto* n = reinterpret_cast<ELEMENT_NEEDLE*>(e);
        s.axes = 1;
        s.vars[0] = &n->source_var;
        if (n->nonlinearity && n->nonlinearity_table_size > 0) {
            try {
                s.table = NeedleTable::build(n->nonlinearity, n->nonlinearity_table_size, e->position);
            } catch (const TableError& t) {
                throw HostError(where(index) + ": nonlinearity table" +
                                (t.row ? " entry " + std::to_string(t.row) : std::string()) + ": " + t.message);
            }
            s.has_table = true;
            // The entries run in one order, so the first and the last are the table's ends.
            const double first = n->nonlinearity[0].value;
            const double last = n->nonlinearity[n->nonlinearity_table_size - 1].value;
            s.table_ends[0] = s.table.map(std::fmin(first, last));
            s.table_ends[1] = s.table.map(std::fmax(first, last));
        }
        break;
    }
    case ELEMENT_TYPE_STRING: {
        auto* t = reinterpret_cast<ELEMENT_STRING*>(e);
        s.axes = 1;
        for (int k = 0; k < 3; ++k) s.vars[k] = &t->source_var[k];
        text_buffers_.emplace_back(new char[kTextBufferSize]());
        t->string = text_buffers_.back().get();
        t->string_size = kTextBufferSize;
        break;
    }
    case ELEMENT_TYPE_SLIDER: {
        auto* sl = reinterpret_cast<ELEMENT_SLIDER*>(e);
        s.axes = 2;
        s.vars[0] = &sl->source_var_x;
        s.vars[1] = &sl->source_var_y;
        break;
    }
    case ELEMENT_TYPE_ICON: {
        s.axes = 1;
        s.vars[0] = &reinterpret_cast<ELEMENT_ICON*>(e)->source_var;
        break;
    }
    case ELEMENT_TYPE_MOVING_IMAGE: {
        auto* m = reinterpret_cast<ELEMENT_MOVING_IMAGE*>(e);
        s.axes = 2;
        s.vars[0] = &m->source_var_x;
        s.vars[1] = &m->source_var_y;
        break;
    }
    case ELEMENT_TYPE_SPRITE: {
        auto* sp = reinterpret_cast<ELEMENT_SPRITE*>(e);
        s.axes = 3;
        s.vars[0] = &sp->source_var_x;
        s.vars[1] = &sp->source_var_y;
        s.vars[2] = &sp->source_var_0;
        break;
    }
    default: break;
    }
    for (int k = 0; k < 3; ++k) {
        MODULE_VAR* v = s.vars[k];
        if (v == nullptr) continue;
        v->var_type = VariableStore::kind_of(v->id);
        s.slots[k] = v->id != 0 ? context_.vars->slot_of(v->id) : -1;
    }
}

void GaugeInstance::call_gauge(SINT32 service, UINT32 extra) {
    if (header_.gauge_callback) header_.gauge_callback(&header_, service, extra);
}

void GaugeInstance::update(uint32_t now_ms) {
    if (killed_) return;
    const double seconds = updated_ ? double(uint32_t(now_ms - last_update_ms_)) / 1000.0 : 0.0;
    last_update_ms_ = now_ms;
    updated_ = true;
    call_gauge(PANEL_SERVICE_PRE_UPDATE, 0);
    for (ElementState& s : states_) update_element(s, seconds);
}

void GaugeInstance::update_element(ElementState& s, double seconds) {
    ELEMENT_HEADER* e = s.element;
    // Failures: action 3 hides the element; the first active freeze or zero sets the value.
    uint32_t action = FAIL_ACTION_NONE;
    s.failed_hidden = false;
    if (const FAILURE_RECORD* f = e->failure_systems) {
        for (; f->key != 0; ++f) {
            if (!context_.failures->active(f->key)) continue;
            if (f->action == FAIL_ACTION_NO_DRAW) s.failed_hidden = true;
            else if ((f->action == FAIL_ACTION_FREEZE || f->action == FAIL_ACTION_ZERO) && action == FAIL_ACTION_NONE)
                action = f->action;
        }
    }
    for (int k = 0; k < 3; ++k) {
        MODULE_VAR* v = s.vars[k];
        if (v == nullptr || action == FAIL_ACTION_FREEZE) continue;
        if (action == FAIL_ACTION_ZERO) {
            v->var_old = v->var_value;
            VAR_VALUE zero{};
            if (v->var_type == VAR_KIND_TEXT) zero.p = "";
            v->var_value = zero;
        } else if (s.slots[k] >= 0) {
            v->var_old = v->var_value;
            context_.vars->fill(s.slots[k], v->var_value);
        }
    }
    for (int a = 0; a < s.axes; ++a) {
        MODULE_VAR* v = s.vars[a];
        const double result = axis_value(e, a, v);
        s.value[a] = placed_value(e, a, result, s.value[a]);
        // Without a token, the element's value is what its callback returned last.
        if (v != nullptr && v->id == 0) v->var_value.n = result;
    }
    switch (e->element_type) {
    case ELEMENT_TYPE_NEEDLE: {
        // NaN (or a table mapping of one) and an infinity without a table give no direction
        // and leave the needle where it is, slewed or not; on a table an infinity pins it to
        // the table's end on its side, where the end segment would carry it on for ever.
        const double value = s.value[0];
        double target = value;
        if (s.has_table) target = std::isinf(value) ? s.table_ends[value > 0 ? 1 : 0] : s.table.map(value);
        if (!std::isfinite(target)) break;
        s.target = target;
        const double rate = reinterpret_cast<ELEMENT_NEEDLE*>(e)->max_degrees_per_second;
        if (rate > 0.0 && s.angle_set) {
            const double step = rate * seconds;
            const double delta = target - s.angle;
            s.angle += delta > step ? step : delta < -step ? -step : delta;
        } else {
            s.angle = target;
        }
        s.angle_set = true;
        break;
    }
    case ELEMENT_TYPE_ICON: {
        auto* icon = reinterpret_cast<ELEMENT_ICON*>(e);
        // Switch type 3 and a zero scale are drawn as type 0 with scale 1.
        const double scale = icon->scale == 0.0 ? 1.0 : icon->scale;
        const double v = s.value[0] * scale;
        const int count = int(std::max<UINT32>(1, icon->picture_count));
        // Negative (-inf too) or no number: nothing drawn; at or above the count (+inf too):
        // the last frame. Only a value in between is cut to an integer.
        if (!(v >= 0.0)) s.frame = -1;
        else if (v >= double(count)) s.frame = count - 1;
        else s.frame = std::min(count - 1, std::max(0, int(v) + icon->offset));
        break;
    }
    default: break;
    }
}

const char* GaugeInstance::text(size_t index) const {
    const ELEMENT_HEADER* e = states_[index].element;
    if (e->element_type != ELEMENT_TYPE_STRING) return nullptr;
    return reinterpret_cast<const ELEMENT_STRING*>(e)->string;
}

void GaugeInstance::kill() {
    if (killed_) return;
    killed_ = true;
    pressed_ = nullptr;
    call_gauge(PANEL_SERVICE_PRE_KILL, 0);
}

void GaugeInstance::fire(const MouseChild& c, int x, int y, FLAGS32 flags) {
    if (c.rect->mouse_function == nullptr) return;
    PIXPOINT point{x - c.box.x0, y - c.box.y0};
    c.rect->mouse_function(&point, flags);
}

void GaugeInstance::move(int x, int y) {
    if (pressed_ == nullptr || !(pressed_->rect->mouse_flags & MOUSE_LEFTDRAG)) return;
    if (pressed_->rect->event_id == 0) fire(*pressed_, x, y, MOUSE_LEFTDRAG);
}

}  // namespace tarn
