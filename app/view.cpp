// tarn-panel view: the panel in windows on the screen, flown by the built-in aircraft and
// flight profile, with sound. The work is the host's Viewer; this is its command line.
//
//   tarn-panel [--gauges DIR] view [--config FILE] [--profile FILE] [--scale S]
//              [--force-scale] [--mute] [--frames N]
//              [--link flightgear[:PORT] | --link xplane[:HOST[:PORT]]]
//
// With --link the simulator flies the panel instead of the flight profile (host/link/link.h);
// the title shows the link's counts, and LINK LOST shows across the panel without data.
// The systems module's "sound" folder is looked for in the working folder, then beside the
// program (where the build puts it). Exit status: 0 the window was closed (or N frames
// shown), 2 bad input or no display.
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "host/view/audio_out.h"
#include "host/draw/panel.h"
#include "host/core/panel_config.h"
#include "host/link/link.h"
#include "host/view/viewer.h"

namespace {

bool is_folder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool view_number(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

}  // namespace

// view's options from args[i] on, then the viewer until it closes.
int view_command(const std::string& gauges_dir, const std::string& default_config, const std::string& program_dir,
                 const std::vector<std::string>& args, size_t i) {
    tarn::ViewerOptions o;
    o.gauges_dir = gauges_dir;
    o.config = default_config;
    long frames = 0;
    std::string link_text;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        double v = 0;
        const bool valued = a == "--config" || a == "--profile" || a == "--scale" || a == "--frames" || a == "--link";
        if (a == "--mute") {
            o.sound = false;
        } else if (a == "--force-scale") {
            o.force_scale = true;
        } else if (!valued) {
            std::cerr << "view: " << (a.rfind("-", 0) == 0 ? "unknown option " : "unexpected word ") << a << "\n";
            return 2;
        } else if (i + 1 >= args.size()) {
            std::cerr << "view: " << a << " needs a value\n";
            return 2;
        } else if (a == "--config") {
            o.config = args[++i];
        } else if (a == "--profile") {
            o.profile = args[++i];
        } else if (a == "--link") {
            link_text = args[++i];
        } else if (a == "--scale") {
            if (!view_number(args[++i], v) || !(v >= 0.05 && v <= 16)) {
                std::cerr << "view: --scale wants a number from 0.05 to 16, got '" << args[i] << "'\n";
                return 2;
            }
            o.scale = v;
        } else if (a == "--frames") {
            if (!view_number(args[++i], v) || v != double(long(v)) || v < 1) {
                std::cerr << "view: --frames wants a positive whole number, got '" << args[i] << "'\n";
                return 2;
            }
            frames = long(v);
        }
    }
    std::string why;
    if (!tarn::display_available(&why)) {
        std::cerr << "view: " << why << "\n";
        return 2;
    }
    o.working_folder = is_folder("sound") || program_dir.empty() || !is_folder(program_dir + "sound") ? "." : program_dir;
    try {
        std::unique_ptr<tarn::SimLink> link;
        if (!link_text.empty()) {
            link = std::make_unique<tarn::SimLink>(tarn::parse_link_address(link_text), tarn::find_link_dir());
            const auto start = std::chrono::steady_clock::now();
            auto now = [start] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
            o.fly_profile = false;
            o.after_step = [&link, now](tarn::PanelHost& host) { link->poll(host, now()); };
            o.status = [&link, now] { return link->status(now()); };
            o.banner = [&link, now] { return link->lost(now()) ? std::string("LINK LOST") : std::string(); };
        }
        tarn::Viewer viewer(o);
        for (const tarn::Finding& f : viewer.panel().findings()) std::cerr << f.text() << "\n";
        for (const std::string& note : viewer.notes()) std::cerr << "view: " << note << "\n";
        if (viewer.audio() && !viewer.audio()->device_problem().empty())
            std::cerr << "view: " << viewer.audio()->device_problem() << " (the panel runs without sound)\n";
        return viewer.run(frames);
    } catch (const tarn::PanelConfigError& e) {
        std::cerr << e.what() << "\n";
    } catch (const tarn::HostError& e) {
        std::cerr << "view: " << e.what() << "\n";
    }
    return 2;
}
