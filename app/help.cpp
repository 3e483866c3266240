// The texts of tarn-panel's --help. The usage lines and the option lists here are the
// commands' own: change them with the parsers in main.cpp, view.cpp and fly.cpp.
#include "app/help.h"

namespace {

struct Command {
    const char* name;
    const char* summary;  // one line for the program's help
    const char* text;     // the command's help, after its usage line
};

const Command kCommands[] = {
    {"run", "run scenario scripts; exit 1 when an expectation fails",
     "usage: tarn-panel [--gauges DIR] run SCRIPT...\n"
     "\n"
     "Runs each scenario script in turn (the format is in the README) and prints one line\n"
     "per check and a count of passed and failed ones.\n"
     "\n"
     "Exit status: 0 all expectations held, 1 one failed, 2 bad input (FILE:LINE: message).\n"},
    {"list", "every module's gauges with their sizes",
     "usage: tarn-panel [--gauges DIR] list\n"
     "\n"
     "Prints MODULE!GAUGE, size_x_mm and the background bitmap's size of every gauge of\n"
     "every module (*.gau) in the gauges folder.\n"
     "\n"
     "Exit status: 0, 2 when the folder holds no module.\n"},
    {"render", "the panel (or one window of it) as a PNG picture",
     "usage: tarn-panel [--gauges DIR] render [--config FILE] [--window N | --vcockpit N] [--scale S]\n"
     "                  [--night] [--set TOKEN=VALUE]... [--script FILE]... -o FILE.png\n"
     "\n"
     "  --config FILE     the panel file (default panel/panel.cfg)\n"
     "  --window N        only the window of [WindowNN] (default: all windows on one sheet)\n"
     "  --vcockpit N      only the virtual cockpit [VcockpitNN], a sheet of its texture's size\n"
     "  --scale S         pixels per panel unit, 0.05 to 16\n"
     "  --night           the night lighting\n"
     "  --set TOKEN=VALUE a simulator variable set before drawing (repeatable)\n"
     "  --script FILE     a scenario script run before drawing (repeatable)\n"
     "  -o FILE.png       where the picture goes\n"
     "\n"
     "Problems of the panel file are warnings on stderr; the rest is drawn.\n"
     "Exit status: 0, 1 gauges missing or not drawn, 2 bad input.\n"},
    {"lint", "checks a panel file",
     "usage: tarn-panel [--gauges DIR] lint [PANEL.cfg]\n"
     "\n"
     "Checks a panel file (default panel/panel.cfg) without drawing: unknown gauges,\n"
     "gauges outside their window, overlaps, duplicate idents, unused keys, each as\n"
     "FILE:LINE: message.\n"
     "\n"
     "Exit status: 0 clean, 1 findings, 2 bad input.\n"},
    {"view", "the panel in windows on the screen, flown live, with sound",
     "usage: tarn-panel [--gauges DIR] view [--config FILE] [--profile FILE] [--scale S]\n"
     "                  [--force-scale] [--mute] [--frames N] [--link SIM]\n"
     "\n"
     "  --config FILE   the panel file (default panel/panel.cfg)\n"
     "  --profile FILE  the flight profile (default: the built-in flight)\n"
     "  --link SIM      flown by a simulator instead of the profile: flightgear[:PORT] (UDP,\n"
     "                  default port 5700, events to PORT + 1) or xplane[:HOST[:PORT]]\n"
     "  --scale S       pixels per panel unit, 0.05 to 16; a scale that would not fit the\n"
     "                  screen is reduced to fit, with a note (default: as the panel file's\n"
     "                  window_pos and window_size place the windows)\n"
     "  --force-scale   keep --scale even where the windows leave the screen\n"
     "  --mute          no sound\n"
     "  --frames N      quit after N frames\n"
     "\n"
     "Keys:\n"
     "  1              raise the main panel window\n"
     "  2 to 9         open or close the panel's other windows (also with Shift)\n"
     "  P or Space     pause the aircraft and the flight (the panel and its clock go on)\n"
     "  + and -        run them faster or slower (1/4x to 16x); R: real time again\n"
     "  N              night lighting on or off\n"
     "  F11            full screen on or off for the window with focus\n"
     "  F12            a PNG picture of the window with focus, written to the current folder\n"
     "  Escape or Q    quit (closing the main window too)\n"
     "Mouse:\n"
     "  left button    click a gauge's switch or knob; hold to repeat; drag levers\n"
     "  pointer        the window's title names the gauge under it (MODULE!GAUGE, its\n"
     "                 window and panel file line, its parameters) and its help id; the\n"
     "                 cursor shows a hand or an arrow where a click does something\n"
     "\n"
     "Windows are placed and sized as the panel file's window_pos and window_size say\n"
     "(fractions of the screen), keeping each window's aspect.\n"
     "\n"
     "Exit status: 0 the main window was closed (or N frames shown), 2 bad input or a\n"
     "display that cannot be opened (SDL_VIDEODRIVER=offscreen runs without one).\n"},
    {"fly", "the flight headless: snapshots and a summary",
     "usage: tarn-panel [--gauges DIR] fly [--config FILE] [--profile FILE] [--seconds N]\n"
     "                  [--scale S] [--link SIM [--duration S]] -o DIR\n"
     "\n"
     "  --config FILE   the panel file (default panel/panel.cfg)\n"
     "  --profile FILE  the flight profile (default: the built-in flight)\n"
     "  --seconds N     flight seconds between snapshots, 0.055 or more (default 30)\n"
     "  --scale S       pixels per panel unit of the snapshots, 0.05 to 4\n"
     "  --link SIM      flown in real time by a simulator: flightgear[:PORT] (UDP, default\n"
     "                  port 5700, events to PORT + 1) or xplane[:HOST[:PORT]]\n"
     "  --duration S    how long a linked flight lasts (default 60; with only --seconds N, N)\n"
     "  -o DIR          where DIR/snapshot-MMSS.png and DIR/summary.txt go\n"
     "\n"
     "Exit status: 0, 1 gauges of the panel missing, 2 bad input.\n"},
    {"sheet", "every gauge at rest, mid-range and at its ends on one PNG picture",
     "usage: tarn-panel [--gauges DIR] sheet [--scale S] [--night|--both] -o FILE.png\n"
     "\n"
     "  --scale S       pixels per panel unit, 0.25 to 4 (default 1)\n"
     "  --night         the night lighting (--both: day and night side by side)\n"
     "  -o FILE.png     where the picture goes\n"
     "\n"
     "A row per gauge of every module; columns at rest, mid-range, low end and high end\n"
     "(how the values are found: README, \"Contact sheet\").\n"
     "\n"
     "Exit status: 0, 2 bad input.\n"},
};

}  // namespace

const char* program_usage() {
    return "usage: tarn-panel [--gauges DIR] [--x87 MODE] COMMAND [OPTIONS]\n"
           "       tarn-panel [--gauges DIR] [--x87 MODE] run SCRIPT...\n"
           "       tarn-panel [--gauges DIR] list\n"
           "       tarn-panel [--gauges DIR] render [--config FILE] [--window N | --vcockpit N] [--scale S]\n"
           "                  [--night] [--set TOKEN=VALUE]... [--script FILE]... -o FILE.png\n"
           "       tarn-panel [--gauges DIR] lint [PANEL.cfg]\n"
           "       tarn-panel [--gauges DIR] view [--config FILE] [--profile FILE] [--scale S]\n"
           "                  [--force-scale] [--mute] [--frames N] [--link SIM]\n"
           "       tarn-panel [--gauges DIR] fly [--config FILE] [--profile FILE] [--seconds N]\n"
           "                  [--scale S] [--link SIM [--duration S]] -o DIR\n"
           "       tarn-panel [--gauges DIR] sheet [--scale S] [--night|--both] -o FILE.png\n"
           "       tarn-panel --help | COMMAND --help\n";
}

std::string program_help() {
    std::string t = program_usage();
    t += "\nCommands:\n";
    for (const Command& c : kCommands) {
        std::string name = c.name;
        name.resize(8, ' ');
        t += "  " + name + c.summary + "\n";
    }
    t += "\n"
         "Before the command:\n"
         "  --gauges DIR    the folder of the gauge modules (default: gauges beside the program)\n"
         "  --x87 MODE      the x87 unit's precision: default, single, double or extended\n"
         "\n"
         "tarn-panel COMMAND --help tells more of each command.\n"
         "Exit status: 0 all well, 1 an expectation failed, 2 bad input.\n";
    return t;
}

std::string command_help(const std::string& command) {
    for (const Command& c : kCommands)
        if (command == c.name) return c.text;
    return "";
}

bool wants_help(const std::vector<std::string>& args, size_t i) {
    for (; i < args.size(); ++i)
        if (args[i] == "--help" || args[i] == "-h") return true;
    return false;
}
