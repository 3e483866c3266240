// The headless flight. Sections: names | the flight | the summary.
#include "host/draw/fly.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "host/core/errors.h"
#include "host/core/files.h"
#include "host/core/host.h"
#include "host/core/key_events.h"
#include "host/draw/panel.h"
#include "host/core/panel_config.h"
#include "host/core/simulation.h"
#include "host/draw/banner.h"
#include "host/link/link.h"
#include "platform/host_control.h"

namespace tarn {

/* ---- names -------------------------------------------------------------------------- */

std::string callout_name(const std::string& sound) {
    static const std::pair<const char*, const char*> kCallouts[] = {
        {"wave:3100", "2500 ft"}, {"wave:3110", "1000 ft"}, {"wave:3120", "500 ft"}, {"wave:3130", "400 ft"},
        {"wave:3140", "300 ft"},  {"wave:3150", "200 ft"},  {"wave:3180", "100 ft"}, {"wave:3190", "50 ft"},
        {"wave:3200", "40 ft"},   {"wave:3210", "30 ft"},   {"wave:3220", "20 ft"},  {"wave:3230", "10 ft"},
        {"wave:3240", "decision height"},
    };
    for (const auto& [wave, name] : kCallouts)
        if (sound == wave) return name;
    return "";
}

namespace {

// Variables shown at the end of the summary.
struct Shown {
    uint32_t token;
    const char* name;
};
const Shown kFinalValues[] = {
    {61, "indicated airspeed, kt"},       {74, "indicated altitude, ft"},   {614, "radio height, m"},
    {84, "gyro heading, deg"},            {390, "engine 1 speed, rpm"},     {429, "engine 2 speed, rpm"},
    {416, "engine 1 oil temperature, R"}, {455, "engine 2 oil temperature, R"},
    {415, "engine 1 CHT, R"},             {454, "engine 2 CHT, R"},         {304, "left tank, gal"},
    {303, "right tank, gal"},             {753, "main bus, V"},             {755, "avionics bus, V"},
    {364, "battery master"},              {565, "generator 1"},             {575, "generator 2"},
    {740, "avionics master"},             {329, "flaps"},                   {557, "time of day, s"},
};

// m:ss.s
std::string clock_text(double s) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d:%04.1f", int(s / 60), s - 60 * int(s / 60));
    return buf;
}

struct Logged {
    double t;
    std::string text;
};

}  // namespace

/* ---- the flight --------------------------------------------------------------------- */

int fly_command(const std::string& gauges_dir, const FlyCommand& c, std::ostream& out, std::ostream& err) {
    if (c.output_dir.empty()) {
        err << "fly: -o DIR is missing\n";
        return 2;
    }
    if (!(c.every_s > 0) || c.step_ms == 0) {
        err << "fly: the snapshot interval and the step must be positive\n";
        return 2;
    }
    int status = 0;
    try {
        std::error_code ec;
        std::filesystem::create_directories(c.output_dir, ec);
        if (ec || !std::filesystem::is_directory(c.output_dir)) {
            err << c.output_dir << ": cannot make the output folder" << (ec ? ": " + ec.message() : "") << "\n";
            return 2;
        }
        const auto wall_start = std::chrono::steady_clock::now();
        PanelHost host(gauges_dir);
        Panel panel(host, load_panel_config(c.config));
        for (const Finding& f : panel.problems()) err << f.text() << "\n";
        if (!panel.problems().empty()) status = 1;
        Simulation sim(host);
        if (!c.profile.empty()) sim.load_profile(c.profile);
        std::string profile_name = c.profile.empty() ? "the default flight" : c.profile;
        std::unique_ptr<SimLink> link;
        if (!c.link.empty()) {
            LinkAddress address = parse_link_address(c.link);
            if (c.link_port >= 0) address.port = c.link_port;
            address.send_port = c.link_send_port;
            link = std::make_unique<SimLink>(address, find_link_dir());
            sim.set_profile_enabled(false);
            profile_name = "a link to " + c.link;
        }
        auto wall_now = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count(); };

        RenderOptions options;
        options.scale = c.scale;
        PanelRenderer renderer(panel, options);
        std::vector<std::string> pictures;
        double last_snapshot = -1;
        auto snapshot = [&](double t) {
            char name[48];
            std::snprintf(name, sizeof name, "snapshot-%02d%02d.png", int(t) / 60, int(t) % 60);
            const std::string path = c.output_dir + "/" + name;
            std::string why;
            if (link && link->lost(wall_now())) {
                Image marked = copy_image(renderer.frame());
                draw_banner(marked, "LINK LOST");
                if (!write_png(marked, path, kPngDefault, &why)) throw HostError(why);
            } else if (!write_png(renderer.frame(), path, kPngDefault, &why)) {
                throw HostError(why);
            }
            pictures.push_back(name);
            last_snapshot = t;
        };

        std::vector<Logged> events, sounds;
        size_t seen_events = 0, seen_sounds = 0;
        auto collect = [&](double t) {
            const auto& log = host.key_events();
            for (; seen_events < log.size(); ++seen_events) {
                const KeyEventRule* r = find_key_event(log[seen_events].id);
                events.push_back({t, std::to_string(log[seen_events].id) + " " + std::to_string(log[seen_events].value) +
                                         "  " + (r ? r->name : "(unknown to the host)")});
            }
            for (; seen_sounds < tarn_sound_log_size(); ++seen_sounds) sounds.push_back({t, tarn_sound_log_text(seen_sounds)});
        };

        if (link) link->poll(host, wall_now());
        host.update_all();
        collect(0);
        snapshot(0);
        double next_snapshot = c.every_s;
        long updates = 1;
        double flown = 0;  // with a link: seconds of real time
        while (link ? flown + 1e-9 < c.duration_s : !sim.finished()) {
            tarn_platform_advance_time(c.step_ms);
            sim.step(c.step_ms);
            if (link) {
                // Real time: the simulator's frames come at their own pace.
                flown += c.step_ms / 1000.0;
                std::this_thread::sleep_for(std::chrono::duration<double>(flown - wall_now()));
                link->poll(host, wall_now());
            }
            host.update_all();
            ++updates;
            const double t = link ? flown : sim.profile_time_s();
            collect(t);
            if (t + 1e-9 >= next_snapshot) {
                snapshot(t);
                next_snapshot += c.every_s;
            }
        }
        const double end_t = link ? flown : sim.profile_time_s();
        if (end_t > last_snapshot + 1e-9) snapshot(end_t);  // the end, once
        const double wall_s = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();

        /* ---- the summary ---------------------------------------------------------------- */
        std::vector<Logged> callouts;
        for (const Logged& s : sounds)
            if (const std::string name = callout_name(s.text); !name.empty()) callouts.push_back({s.t, name + " (" + s.text + ")"});
        std::ostringstream sum;
        sum.setf(std::ios::fixed);
        sum.precision(1);
        sum << "Flight: " << profile_name << ", " << end_t << " s of " << (link ? c.duration_s : sim.profile_length_s())
            << " s flown in " << wall_s << " s, " << updates << " panel updates of " << host.instances().size()
            << " gauges\n";
        sum << "Snapshots, every " << c.every_s << " s: " << pictures.size() << " in " << c.output_dir << "\n";
        for (const std::string& p : pictures) sum << "  " << p << "\n";
        auto list = [&](const char* title, const std::vector<Logged>& items) {
            sum << title << ": " << items.size() << "\n";
            for (const Logged& l : items) sum << "  " << clock_text(l.t) << "  " << l.text << "\n";
        };
        list("Key events sent", events);
        if (link) {
            const LinkStats& ls = link->stats();
            sum << "Link: " << link->status(wall_now()) << "; " << ls.waiting << " lines before the simulator ran, "
                << ls.lost_s << " s without data" << (link->last_problem().empty() ? "" : "; last skipped: ")
                << link->last_problem() << "\n";
        }
        sum << "Key events unknown to the host: " << host.unknown_key_events().size() << "\n";
        for (UINT32 id : host.unknown_key_events()) sum << "  " << id << "\n";
        list("Sounds played", sounds);
        list("Callouts spoken", callouts);
        sum << "Final values:\n";
        sum.precision(2);
        for (const Shown& s : kFinalValues) sum << "  " << s.token << "  " << s.name << ": " << host.vars().number(s.token) << "\n";

        const std::string summary_path = c.output_dir + "/summary.txt";
        std::string why;
        if (!write_file_atomically(summary_path, sum.str(), &why)) {
            err << why << "\n";
            return 2;
        }
        out.setf(std::ios::fixed);
        out.precision(1);
        out << "Flew " << profile_name << ": " << end_t << " s in " << wall_s << " s; " << events.size()
            << " key events, " << sounds.size() << " sounds, " << callouts.size() << " callouts";
        if (link)
            out << "; link: " << link->stats().frames << " frames, " << link->stats().skipped << " skipped, "
                << link->stats().sent << " events sent";
        if (!callouts.empty()) {
            out << " (";
            for (size_t i = 0; i < callouts.size(); ++i) out << (i ? ", " : "") << callouts[i].text.substr(0, callouts[i].text.find(" ("));
            out << ")";
        }
        out << "\n" << pictures.size() << " snapshots and summary.txt in " << c.output_dir << "\n";
    } catch (const PanelConfigError& e) {
        err << e.what() << "\n";
        return 2;
    } catch (const HostError& e) {
        err << e.what() << "\n";
        return 2;
    }
    return status;
}

}  // namespace tarn
