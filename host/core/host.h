// The substitute panel host: loads gauge modules, keeps the simulator's variables and
// failures, creates gauge instances, updates them, turns mouse events into their mouse
// handling and records the key events that gauges send.
//
//   PanelHost host("build/gauges");
//   GaugeInstance& g = host.create("tach", "TARN2_Instruments", "Tachometer", &params);
//   host.vars().set_number(390, 2400);
//   host.update_all();
//   host.click(g, 10, 20);
//   for (auto& e : host.key_events()) ...
//
// One host at a time: the host's services are plain functions that gauges reach through
// their ImportTable, and they act on the live host.
#ifndef TARN_HOST_HOST_H
#define TARN_HOST_HOST_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/linkage.h"
#include "host/core/instance.h"
#include "host/core/plugin.h"
#include "host/core/variables.h"

namespace tarn {

struct KeyEvent {
    UINT32 id;
    UINT32 value;
};

// A call that reached the host's service table (for the forwarding of generic routines).
struct ServiceCall {
    int position;
    ELEMENT_HEADER* root;
    UINT32 argument;
};

class PanelHost {
public:
    // gauges_dir: where MODULE.gau files are found. Resets the platform clock and sound log.
    explicit PanelHost(std::string gauges_dir);
    ~PanelHost();
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;

    // Loads MODULE (or FOLDER\MODULE, FOLDER/MODULE; any case) from the gauges folder once.
    // Throws HostError.
    Plugin& module(const std::string& name);
    // Every module file in the gauges folder, by name, sorted.
    std::vector<std::string> module_names() const;

    // A new instance of MODULE!GAUGE (pre-install .. connect). Throws HostError.
    GaugeInstance& create(const std::string& module, const std::string& gauge, const std::string* parameters);
    // Pre-kill and kill; the instance is gone afterwards.
    void kill(GaugeInstance& instance);
    const std::vector<std::unique_ptr<GaugeInstance>>& instances() const { return instances_; }

    // One panel update of every instance, in creation order, at the current clock.
    void update_all();

    // Mouse events at gauge pixels.
    void press(GaugeInstance& g, int x, int y);
    void repeat(GaugeInstance& g);
    void move(GaugeInstance& g, int x, int y);
    void release(GaugeInstance& g);

    // Key events, as the simulator receives them (from the service and from mouse lists).
    // Each is recorded and, while key-event processing is on (the default), applied to
    // the variable store through the key-event table (host/key_events.h); an id the table
    // does not know is listed in unknown_key_events() and reported once on stderr.
    // Scenario scripts turn processing off until `sim on`: gauge scripts see a plain table.
    void send_key_event(UINT32 id, UINT32 value);
    const std::vector<KeyEvent>& key_events() const { return key_events_; }
    const std::vector<UINT32>& unknown_key_events() const { return unknown_events_; }
    void set_key_event_processing(bool on) { process_events_ = on; }
    bool key_event_processing() const { return process_events_; }
    void clear_key_events() { key_events_.clear(); }

    VariableStore& vars() { return vars_; }
    FailureSet& failures() { return failures_; }
    const std::vector<ServiceCall>& service_calls() const { return service_calls_; }
    PANEL_SERVICE_TABLE* service_table() { return &services_; }

    // The host whose services are live, or nullptr.
    static PanelHost* current();
    void record_service(int position, ELEMENT_HEADER* root, UINT32 argument);

private:
    std::string gauges_dir_;
    PANEL_SERVICE_TABLE services_{};
    VariableStore vars_;
    FailureSet failures_;
    std::map<std::string, std::unique_ptr<Plugin>> modules_;  // by the file's path
    std::map<std::string, Plugin*> module_names_;             // as panel lines spell them
    std::vector<std::unique_ptr<GaugeInstance>> instances_;
    std::vector<KeyEvent> key_events_;
    std::vector<UINT32> unknown_events_;  // first seen first, each once
    bool process_events_ = true;
    std::vector<ServiceCall> service_calls_;
};

}  // namespace tarn

#endif
