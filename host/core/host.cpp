#include "host/core/host.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "host/core/errors.h"
#include "host/core/key_events.h"
#include "host/core/panel_config.h"
#include "platform/host_control.h"

namespace tarn {

namespace {

PanelHost* g_current = nullptr;

// The services of the table. The element-list services are recorded; the host drives
// its instances itself, so a module's generic routines need nothing more from them.
template <UINT32 Service>
void TARN_CALL svc_root(PELEMENT_HEADER root) {
    if (PanelHost* h = PanelHost::current()) h->record_service(Service, root, 0);
}
// install (resource handle) and generate (phase) carry a second argument.
template <UINT32 Service>
void TARN_CALL svc_root_and(PELEMENT_HEADER root, UINT32 argument) {
    if (PanelHost* h = PanelHost::current()) h->record_service(Service, root, argument);
}
BOOL TARN_CALL svc_trigger_key_event(UINT32 id, UINT32 value) {
    if (PanelHost* h = PanelHost::current()) h->send_key_event(id, value);
    return TRUE;
}
void TARN_CALL svc_lookup_var(PMODULE_VAR var) {
    PanelHost* h = PanelHost::current();
    if (h != nullptr && var != nullptr) h->vars().lookup(*var);
}

// A service as the table holds it; the type names the service's signature and calling
// convention, so a function that does not match does not compile.
template <class Service>
void* code(Service f) {
    return reinterpret_cast<void*>(f);
}

}  // namespace

PanelHost* PanelHost::current() { return g_current; }

PanelHost::PanelHost(std::string gauges_dir) : gauges_dir_(std::move(gauges_dir)) {
    if (g_current != nullptr) throw HostError("only one panel host can run at a time");
    g_current = this;
    tarn_platform_reset();
    services_.service[SERVICE_ELEMENT_LIST_QUERY] = code<ELEMENT_LIST_SERVICE>(&svc_root<SERVICE_ELEMENT_LIST_QUERY>);
    services_.service[SERVICE_ELEMENT_LIST_INSTALL] =
        code<ELEMENT_LIST_INSTALL_SERVICE>(&svc_root_and<SERVICE_ELEMENT_LIST_INSTALL>);
    services_.service[SERVICE_ELEMENT_LIST_INITIALIZE] = code<ELEMENT_LIST_SERVICE>(&svc_root<SERVICE_ELEMENT_LIST_INITIALIZE>);
    services_.service[SERVICE_ELEMENT_LIST_UPDATE] = code<ELEMENT_LIST_SERVICE>(&svc_root<SERVICE_ELEMENT_LIST_UPDATE>);
    services_.service[SERVICE_ELEMENT_LIST_GENERATE] =
        code<ELEMENT_LIST_GENERATE_SERVICE>(&svc_root_and<SERVICE_ELEMENT_LIST_GENERATE>);
    services_.service[SERVICE_ELEMENT_LIST_PLOT] = code<ELEMENT_LIST_SERVICE>(&svc_root<SERVICE_ELEMENT_LIST_PLOT>);
    services_.service[SERVICE_ELEMENT_LIST_KILL] = code<ELEMENT_LIST_SERVICE>(&svc_root<SERVICE_ELEMENT_LIST_KILL>);
    services_.service[SERVICE_TRIGGER_KEY_EVENT] = code<TRIGGER_KEY_EVENT_SERVICE>(&svc_trigger_key_event);
    services_.service[SERVICE_LOOKUP_VAR] = code<LOOKUP_VAR_SERVICE>(&svc_lookup_var);
}

PanelHost::~PanelHost() {
    // Gauges go first (pre-kill, kill), newest first; then the modules are unloaded.
    while (!instances_.empty()) {
        instances_.back()->kill();
        instances_.pop_back();
    }
    module_names_.clear();
    modules_.clear();
    g_current = nullptr;
}

// A module is named as Windows names it: "module", "folder\\module" or "folder/module",
// under the gauges folder, without regard to case; one load serves every spelling.
Plugin& PanelHost::module(const std::string& name) {
    if (auto it = module_names_.find(name); it != module_names_.end()) return *it->second;
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    bool bad = relative.empty() || relative.front() == '/' || relative.back() == '/' ||
               relative.find('\0') != std::string::npos || relative.find(':') != std::string::npos;
    for (size_t start = 0; !bad && start <= relative.size();) {
        const size_t end = std::min(relative.find('/', start), relative.size());
        const std::string part = relative.substr(start, end - start);
        bad = part.empty() || part == "." || part == "..";
        start = end + 1;
    }
    if (bad) throw HostError("bad module name '" + name + "'");
    const std::string path = find_path_nocase(gauges_dir_, relative + ".gau");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        throw HostError("unknown module " + name + ": no " + gauges_dir_ + "/" + relative + ".gau");
    auto& plugin = modules_[path];
    if (!plugin) {
        try {
            plugin = Plugin::load(path, name, &services_);
        } catch (...) {
            modules_.erase(path);
            throw;
        }
    }
    module_names_[name] = plugin.get();
    return *plugin;
}

std::vector<std::string> PanelHost::module_names() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(gauges_dir_, ec))
        if (entry.path().extension() == ".gau") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

GaugeInstance& PanelHost::create(const std::string& module_name, const std::string& gauge,
                                 const std::string* parameters) {
    Plugin& plugin = module(module_name);
    GAUGEHDR* header = plugin.find(gauge);
    if (header == nullptr) throw HostError("unknown gauge " + module_name + "!" + gauge);
    instances_.push_back(GaugeInstance::create(plugin, *header, parameters, {&vars_, &failures_}));
    return *instances_.back();
}

void PanelHost::kill(GaugeInstance& instance) {
    auto it = std::find_if(instances_.begin(), instances_.end(), [&](auto& p) { return p.get() == &instance; });
    if (it == instances_.end()) return;
    (*it)->kill();
    instances_.erase(it);
}

void PanelHost::update_all() {
    const uint32_t now = tarn_platform_time();
    for (auto& g : instances_) g->update(now);
}

void PanelHost::press(GaugeInstance& g, int x, int y) {
    g.press(x, y, [this](UINT32 id, UINT32 value) { send_key_event(id, value); });
}

void PanelHost::repeat(GaugeInstance& g) {
    g.repeat([this](UINT32 id, UINT32 value) { send_key_event(id, value); });
}

void PanelHost::move(GaugeInstance& g, int x, int y) { g.move(x, y); }
void PanelHost::release(GaugeInstance& g) { g.release(); }

void PanelHost::send_key_event(UINT32 id, UINT32 value) {
    key_events_.push_back({id, value});
    if (!process_events_ || apply_key_event(vars_, id, value)) return;
    if (std::find(unknown_events_.begin(), unknown_events_.end(), id) != unknown_events_.end()) return;
    unknown_events_.push_back(id);
    std::cerr << "tarn-panel: key event " << id << " (0x" << std::hex << id << std::dec
              << ") is not known to the host: recorded, not applied\n";
}

void PanelHost::record_service(int position, ELEMENT_HEADER* root, UINT32 argument) {
    service_calls_.push_back({position, root, argument});
}

}  // namespace tarn
