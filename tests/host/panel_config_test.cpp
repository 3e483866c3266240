// Panel configuration files: reading them, every error they can hold, and the panel
// they make (instances, sizes, missing gauges), lint and the panel program's commands.
#include "host/core/panel_config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "host/core/errors.h"
#include "host/draw/panel.h"
#include "platform/host_control.h"

namespace {

using tarn::PanelConfig;
using tarn::PanelConfigError;
using tarn::parse_panel_config;

std::string source_dir() {
    const std::string here = __FILE__;
    return here.substr(0, here.rfind("/tests/"));
}

std::string temp_path(const std::string& name) { return std::string(testing::TempDir()) + name; }

// The message of the error a text raises, or "" when it parses.
std::string error_of(const std::string& text) {
    try {
        parse_panel_config(text, "p.cfg");
    } catch (const PanelConfigError& e) {
        return e.what();
    }
    return "";
}

/* ---- reading --------------------------------------------------------------------------- */

const char* const kExample =
    "// A panel\n"
    "[Window Titles]\n"
    "Window00=Main Panel\n"
    "window01=Radios   ; lower case keys work too\n"
    "\n"
    "[Window00]\n"
    "FILE=back.bmp\n"
    "size_mm=640,480\n"
    "position=7\n"
    "visible=1\n"
    "ident=MAIN_PANEL\n"
    "window_pos=0.0,0.5\n"
    "window_size=1.0,0.5\n"
    "gauge02=TARN!Engines, 10, 20                 // no size\n"
    "gauge00=TARN2_Instruments!Turn Coordinator,1.5,2.5,100\n"
    "gauge01=TARN2_Instruments!Tachometer, 5, 6, 150, 140, 2\n"
    "gauge10=TARN2_Instruments!Tachometer, 7, 8, , , 1\n"
    "gauge11=TARN2_Instruments!Registration, 0, 0, 150, , tG-ABCD r255, g0\n"
    "\n"
    "[window01]\n"
    "size_mm=300\n"
    "background_color=10,20,30\n"
    "\n"
    "[Views]\n"
    "VIEW_FORWARD_WINDOWS=MAIN_PANEL\n";

// Every key of a window and every form of a gauge line.
TEST(PanelConfig, ReadsWindowsAndGaugeLines) {
    PanelConfig cfg = parse_panel_config(kExample, "folder/panel.cfg");
    EXPECT_EQ(cfg.folder, "folder/");
    ASSERT_EQ(cfg.windows.size(), 2u);
    const tarn::PanelWindow& main = cfg.windows[0];
    EXPECT_EQ(main.number, 0);
    EXPECT_EQ(main.title, "Main Panel");
    EXPECT_EQ(main.file, "back.bmp");
    EXPECT_EQ(main.file_line, 7);
    EXPECT_EQ(*main.size_w, 640);
    EXPECT_EQ(*main.size_h, 480);
    EXPECT_EQ(main.position, 7);
    EXPECT_TRUE(main.visible);
    EXPECT_EQ(main.ident, "MAIN_PANEL");
    EXPECT_EQ(main.window_pos->second, 0.5);
    EXPECT_EQ(main.window_size->first, 1.0);
    // Gauges come in the order of their numbers, gaps allowed.
    ASSERT_EQ(main.gauges.size(), 5u);
    EXPECT_EQ(main.gauges[0].number, 0);
    EXPECT_EQ(main.gauges[0].name(), "TARN2_Instruments!Turn Coordinator");
    EXPECT_EQ(main.gauges[0].x, 1.5);
    EXPECT_EQ(main.gauges[0].y, 2.5);
    EXPECT_EQ(*main.gauges[0].w, 100);
    EXPECT_FALSE(main.gauges[0].h);
    EXPECT_FALSE(main.gauges[0].params);
    EXPECT_EQ(main.gauges[1].number, 1);
    EXPECT_EQ(*main.gauges[1].h, 140);
    EXPECT_EQ(*main.gauges[1].params, "2");
    EXPECT_EQ(main.gauges[2].number, 2);
    EXPECT_EQ(main.gauges[2].line, 14);
    EXPECT_FALSE(main.gauges[2].w);
    EXPECT_FALSE(main.gauges[3].w);  // empty width and height, then parameters
    EXPECT_EQ(*main.gauges[3].params, "1");
    EXPECT_EQ(*main.gauges[4].params, "tG-ABCD r255, g0");  // the rest of the line, commas and all
    const tarn::PanelWindow& radios = cfg.windows[1];
    EXPECT_EQ(radios.key, "window01");
    EXPECT_EQ(radios.title, "Radios");
    EXPECT_EQ(*radios.size_w, 300);
    EXPECT_FALSE(radios.size_h);
    EXPECT_EQ(*radios.background, 0x0A141Eu);
    EXPECT_EQ(cfg.window(1), &radios);
    EXPECT_EQ(cfg.window(7), nullptr);
    // Sections and keys this host does not use are kept as warnings.
    ASSERT_EQ(cfg.warnings.size(), 1u);
    EXPECT_EQ(cfg.warnings[0].text(), "folder/panel.cfg:24: section [Views] is not used by this host");
}

// Unused keys and titles of windows that have no section are warnings, not errors.
TEST(PanelConfig, WarnsOfWhatItDoesNotUse) {
    PanelConfig cfg = parse_panel_config(
        "[Window Titles]\nWindow05=Ghost\nTitle=x\n[Window00]\nsize_mm=10\nnomenu=1\n", "p.cfg");
    ASSERT_EQ(cfg.warnings.size(), 3u);  // by line
    EXPECT_EQ(cfg.warnings[0].text(), "p.cfg:2: title of a window without a section: Ghost");
    EXPECT_EQ(cfg.warnings[1].text(), "p.cfg:3: key 'title' is not used by this host");
    EXPECT_EQ(cfg.warnings[2].text(), "p.cfg:6: key 'nomenu' is not used by this host");
    EXPECT_EQ(cfg.windows[0].title, "Window00");  // no title: the section's name
}

// What a simulator loads is read here too: each line or value this host cannot use is a
// finding naming the file and line, and the value is taken as a simulator takes it (its
// leading digits, the first of two, the default).
TEST(PanelConfig, FindingsNameTheFileAndLineAndTheRestIsRead) {
    const std::string w = "[Window00]\nsize_mm=100\n";
    struct Case {
        std::string text, finding;
    };
    const Case cases[] = {
        // Numbers.
        {w + "gauge00=A!B, 1x, 2\n", "p.cfg:3: bad x '1x' (a number): read as 1"},
        {w + "gauge00=A!B, 1, \n", "p.cfg:3: missing y"},
        {w + "gauge00=A!B, 1, 2, 5, -1\n", "p.cfg:3: bad height '-1' (a number from 0): ignored"},
        {w + "gauge00=A!B, 1, 2, tN700MS\n", "p.cfg:3: bad width 'tN700MS' (a number): ignored"},
        {w + "gauge00=A!B, 1, nan\n", "p.cfg:3: bad y 'nan' (a number): ignored"},
        {w + "gauge00=A!B, 1e9, 2\n", "p.cfg:3: bad x '1e9' (a number): ignored"},
        {w + "gauge00=A!B, 1, 2, , 5\n", "p.cfg:3: a height without a width: ignored"},
        {"[Window00]\nfile=b.bmp\nsize_mm=-3\n", "p.cfg:3: bad size_mm width '-3' (a number above 0): ignored"},
        {"[Window00]\nfile=b.bmp\nsize_mm=1,2,3\n", "p.cfg:3: bad size_mm '1,2,3' (a width, or width,height): ignored"},
        {w + "position=9\n", "p.cfg:3: bad position '9' (a whole number from 0 to 8): ignored"},
        {w + "visible=yes please\n", "p.cfg:3: bad visible 'yes please' (a number): ignored"},
        {w + "window_pos=0.5,1,2\n", "p.cfg:3: bad window_pos '0.5,1,2' (x,y): ignored"},
        {w + "background_color=1,2,256\n", "p.cfg:3: bad colour channel '256' (a whole number from 0 to 255): ignored"},
        {w + "background_color=1,2\n", "p.cfg:3: bad background_color '1,2' (r,g,b): ignored"},
        // Gauge lines.
        {w + "gauge00=TARN!, 1, 2\n", "p.cfg:3: expected MODULE!GAUGE, x, y[, w[, h]][, parameters], got 'TARN!, 1, 2': ignored"},
        {w + "gauge00=, 1, 2\n", "p.cfg:3: a gauge line without a gauge name: ignored"},
        {w + "gauge1000=A!B, 1, 2\n", "p.cfg:3: gauge1000: a number past gauge999: ignored"},
        // Twice: the first is kept.
        {w + "ident=1\nIDENT=2\n", "p.cfg:4: key 'ident' given twice in this section (first at line 3): the first is kept"},
        {w + "gauge3=A!B,1,2\ngauge03=A!B,1,2\n", "p.cfg:4: gauge number 3 given twice (first at line 3): ignored"},
        {w + "[WINDOW00]\n", "p.cfg:3: section [WINDOW00] given twice (first at line 1): its lines are ignored"},
        {w + "[Window0]\n", "p.cfg:3: window number 0 given twice (first at line 1): its lines are ignored"},
        {"[Window Titles]\nWindow00=a\nWindow0=b\n" + w,
         "p.cfg:3: title of window 0 given twice (first at line 2): the first is kept"},
        // Lines that are nothing.
        {"size_mm=100\n" + w, "p.cfg:1: text before the first [SECTION]: ignored"},
        {w + "just words\n", "p.cfg:3: expected KEY=VALUE or [SECTION], got 'just words': ignored"},
        {w + "=5\n", "p.cfg:3: a value without its key: ignored"},
        {"[Window00\nsize_mm=100\n", "p.cfg:1: a section name without its closing ']'"},
        {w + "file=\n", "p.cfg:3: empty file name: ignored"},
        {w + "ident=  // nothing\n", "p.cfg:3: empty ident: ignored"},
        {"[Window00]\nident=1\n", "p.cfg:1: [Window00] has neither size_mm= nor file=: sized by its gauges"},
        {kExample, "folder/panel.cfg:24: section [Views] is not used by this host"},
    };
    for (const Case& c : cases) {
        PanelConfig cfg;
        ASSERT_NO_THROW(cfg = parse_panel_config(c.text, c.text == kExample ? "folder/panel.cfg" : "p.cfg")) << c.text;
        ASSERT_EQ(cfg.warnings.size(), 1u) << c.text << testing::PrintToString(cfg.warnings.size());
        EXPECT_EQ(cfg.warnings[0].text(), c.finding);
    }
    // The values as taken: leading digits, the first of two, the default.
    const PanelConfig cfg = parse_panel_config(w + "gauge00=A!B, 12abc, 7\ngauge00=A!C, 1, 2\nposition=12\n"
                                                   "[Window01]\nsize_mm=1,2,3\nvisible=false\n",
                                               "p.cfg");
    EXPECT_EQ(cfg.windows[0].gauges.at(0).x, 12);
    EXPECT_EQ(cfg.windows[0].gauges.at(0).gauge, "B");
    EXPECT_EQ(cfg.windows[0].position, 0);
    EXPECT_FALSE(cfg.windows[1].size_w);
    EXPECT_FALSE(cfg.windows[1].visible);
    // No panel at all: refused.
    EXPECT_EQ(error_of(w + std::string("a=b\0c\n", 6)), "p.cfg:3: the file is not text (a NUL byte)");
    EXPECT_EQ(error_of("[Views]\nx=1\n"), "p.cfg:2: the panel file has no [WindowNN] or [VCockpitNN] section");
    EXPECT_EQ(error_of("[fltsim]\nalias=Other Twin\\panel\n"),
              "p.cfg:2: the panel file has no [WindowNN] or [VCockpitNN] section: it stands for another aircraft's "
              "(alias=Other Twin\\panel); give that panel file");
    EXPECT_EQ(error_of("[Window00]\nsize_mm=10\n\x1A more\n"), "p.cfg:3: the file is not text (a control byte 0x1A)");
}

// Comments start at "//" or ";" anywhere; a single '/' belongs to the value.
TEST(PanelConfig, CommentsEndTheLine) {
    PanelConfig cfg = parse_panel_config("[Window00] ; main\nsize_mm=100 // wide\ngauge00=A!B, 1, 2, 3, 4, /2 x\n"
                                         "; gauge01=A!C, 1, 2\n// gauge02=A!D, 1, 2\n",
                                         "p.cfg");
    ASSERT_EQ(cfg.windows[0].gauges.size(), 1u);
    EXPECT_EQ(*cfg.windows[0].gauges[0].params, "/2 x");
    EXPECT_EQ(*cfg.windows[0].size_w, 100);
}

// A file that cannot be opened is an error naming it.
TEST(PanelConfig, MissingFile) {
    try {
        tarn::load_panel_config("/nonexistent/panel.cfg");
        FAIL();
    } catch (const PanelConfigError& e) {
        EXPECT_EQ(std::string(e.what()), "/nonexistent/panel.cfg:0: cannot open the panel file: No such file or directory");
    }
}

/* ---- sizes ----------------------------------------------------------------------------- */

// Without a size a gauge is its size_x_mm wide at its background's aspect; a width alone
// keeps the aspect; width and height are taken as they are.
TEST(PanelSizes, GaugeBoxFromTheLineOrTheGauge) {
    GAUGEHDR h{};
    h.size_x_mm = 100;
    tarn::PanelGauge g;
    EXPECT_EQ(tarn::gauge_size(g, &h, 300, 150), std::make_pair(100.0, 50.0));
    g.w = 40;
    EXPECT_EQ(tarn::gauge_size(g, &h, 300, 150), std::make_pair(40.0, 20.0));
    g.h = 33;
    EXPECT_EQ(tarn::gauge_size(g, &h, 300, 150), std::make_pair(40.0, 33.0));
    tarn::PanelGauge bare;
    h.size_x_mm = 0;  // no size_x_mm: the bitmap's width
    EXPECT_EQ(tarn::gauge_size(bare, &h, 300, 150), std::make_pair(300.0, 150.0));
    // A missing gauge: 50 x 50 unless sized.
    EXPECT_EQ(tarn::gauge_size(bare, nullptr, 0, 0), std::make_pair(50.0, 50.0));
    EXPECT_EQ(tarn::gauge_size(g, nullptr, 0, 0), std::make_pair(40.0, 33.0));
}

/* ---- panels ---------------------------------------------------------------------------- */

// Writes a 4 x 2 24-bit bitmap file, each pixel 0xRRGGBB as `colour` gives it.
template <class Colour>
void write_bmp(const std::string& path, Colour colour) {
    std::vector<unsigned char> f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) f.push_back((unsigned char)(v >> (8 * i)));
    };
    put32(40), put32(4), put32(2), f.push_back(1), f.push_back(0), f.push_back(24), f.push_back(0);
    for (int i = 0; i < 6; ++i) put32(0);
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 4; ++x) {
            const uint32_t c = colour(x, 1 - row);  // rows bottom-up
            f.push_back((unsigned char)(c & 0xFF)), f.push_back((unsigned char)(c >> 8 & 0xFF));
            f.push_back((unsigned char)(c >> 16 & 0xFF));
        }
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.data()), std::streamsize(f.size()));
}

struct TestPanel {
    tarn::PanelHost host{TARN_TEST_GAUGES_DIR};
    std::unique_ptr<tarn::Panel> panel;
    explicit TestPanel(const std::string& text, const std::string& path = "t.cfg") {
        panel = std::make_unique<tarn::Panel>(host, parse_panel_config(text, path));
    }
};

// Each gauge line is an instance with its parameter string; a gauge the host cannot make
// is a missing gauge, reported by file and line.
TEST(Panel, MakesInstancesAndReportsMissingGauges) {
    TestPanel t("[Window00]\nsize_mm=400\n"
                "gauge00=TestGauges!Selector, 0, 0, , , 2\n"
                "gauge01=TestGauges!Nothing, 10, 200\n"
                "gauge02=NoModule!Probe, 100, 200, 80, 20\n"
                "gauge03=TestGauges!MissingBitmap, 300, 10\n"
                "gauge04=TestGauges!Plain, 200, 0, 100\n");
    const auto& g = t.panel->gauges();
    ASSERT_EQ(g.size(), 5u);
    ASSERT_NE(g[0].instance, nullptr);
    EXPECT_EQ(g[0].instance->element(1).element->element_type, uint32_t(ELEMENT_TYPE_NEEDLE));
    EXPECT_EQ(reinterpret_cast<ELEMENT_NEEDLE*>(g[0].instance->element(1).element)->source_var.id, 429u);  // engine 2
    EXPECT_EQ(g[0].w, 100);  // size_x_mm 100, bitmap 200 x 100
    EXPECT_EQ(g[0].h, 50);
    EXPECT_EQ(g[0].name, "Window00.gauge00");
    EXPECT_EQ(g[1].instance, nullptr);
    EXPECT_EQ(g[1].w, 50);
    EXPECT_EQ(g[2].instance, nullptr);
    EXPECT_EQ(g[2].w, 80);
    EXPECT_EQ(g[2].h, 20);
    EXPECT_EQ(g[3].instance, nullptr);
    const auto& p = t.panel->problems();
    ASSERT_EQ(p.size(), 3u);
    EXPECT_EQ(p[0].text(), "t.cfg:4: unknown gauge TestGauges!Nothing (drawn as a magenta box)");
    EXPECT_EQ(p[1].line, 5);
    EXPECT_NE(p[1].message.find("unknown module NoModule"), std::string::npos) << p[1].message;
    EXPECT_EQ(p[2].line, 6);
    EXPECT_NE(p[2].message.find("no bitmap resource"), std::string::npos) << p[2].message;
    // Without a height the window reaches the lowest gauge: the missing one at 200 + 50.
    EXPECT_EQ(t.panel->window_size(t.panel->config().windows[0]), std::make_pair(400.0, 250.0));
    auto names = t.panel->names();
    EXPECT_EQ(names.size(), 2u);
    EXPECT_EQ(names.count("Window00.gauge04"), 1u);
}

// A missing gauge draws as a magenta box; the rest of the window shows its colour.
TEST(Panel, MissingGaugesAreMagentaBoxes) {
    TestPanel t("[Window00]\nsize_mm=200,100\nbackground_color=0,0,255\ngauge00=TestGauges!Nothing, 10, 20, 60, 30\n");
    tarn::PanelRenderer r(*t.panel, {.scale = 1.0, .window = 0});
    const tarn::Image& img = r.frame();
    EXPECT_EQ(img.width(), 200);
    EXPECT_EQ(img.height(), 100);
    EXPECT_EQ(img.pixel(12, 22), 0xFFFF00FFu);
    EXPECT_EQ(img.pixel(67, 47), 0xFFFF00FFu);
    EXPECT_EQ(img.pixel(10, 20), 0xFF000000u);  // its outline
    EXPECT_EQ(img.pixel(5, 5), 0xFF0000FFu);
    EXPECT_EQ(img.pixel(71, 51), 0xFF0000FFu);
}

// Gauges land at their place scaled to their box; the window is size_mm x scale pixels.
TEST(Panel, GaugesAreScaledIntoTheirBoxes) {
    TestPanel t("[Window00]\nsize_mm=300,200\ngauge00=TestGauges!Plain, 20, 30, 100\n");
    tarn::PanelRenderer r(*t.panel, {.scale = 2.0, .window = 0});
    const tarn::Image& img = r.frame();
    EXPECT_EQ(img.width(), 600);
    EXPECT_EQ(img.height(), 400);
    const auto rect = r.gauge_rect(0);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->x, 40);
    EXPECT_EQ(rect->y, 60);
    EXPECT_EQ(rect->w, 200);  // 100 units wide, twice
    EXPECT_EQ(rect->h, 100);
    // The placeholder's frame is light, its face dark: the frame's corners land on the box's.
    const uint32_t window = img.pixel(10, 10);
    EXPECT_NE(img.pixel(40, 60), window);
    EXPECT_NE(img.pixel(239, 159), window);
    EXPECT_EQ(img.pixel(39, 60), window);
    EXPECT_EQ(img.pixel(240, 159), window);
    EXPECT_EQ(img.pixel(239, 160), window);
}

// A picture file sets the window's look and, without a height, its aspect.
TEST(Panel, WindowPictureFile) {
    // A 4 x 2 bitmap file: left half red, right half green.
    const std::string dir = temp_path("");
    write_bmp(dir + "panel_back.bmp", [](int x, int) { return x < 2 ? 0xFF0000u : 0x00FF00u; });
    TestPanel t("[Window00]\nfile=panel_back.bmp\nsize_mm=400\n[Window01]\nfile=absent.bmp\nsize_mm=10,10\n",
                dir + "panel.cfg");
    EXPECT_EQ(t.panel->window_size(t.panel->config().windows[0]), std::make_pair(400.0, 200.0));
    ASSERT_EQ(t.panel->problems().size(), 1u);
    EXPECT_EQ(t.panel->problems()[0].line, 5);
    tarn::PanelRenderer r(*t.panel, {.scale = 1.0, .window = 0});
    const tarn::Image& img = r.frame();
    EXPECT_EQ(img.pixel(20, 100), 0xFFFF0000u);
    EXPECT_EQ(img.pixel(380, 100), 0xFF00FF00u);
    tarn::PanelRenderer night(*t.panel, {.scale = 1.0, .night = true, .window = 0});
    EXPECT_LT(night.frame().pixel(20, 100) >> 16 & 0xFF, 0x60u);  // dimmed
    std::remove((dir + "panel_back.bmp").c_str());
}

// All windows go on one sheet; a window that does not exist is an error.
TEST(Panel, SheetOfWindowsAndWindowChoice) {
    TestPanel t("[Window00]\nsize_mm=300,100\n[Window03]\nsize_mm=100,50\n");
    tarn::PanelRenderer sheet(*t.panel, {});
    EXPECT_EQ(sheet.frame().width(), 16 + 300 + 16);  // the second window goes below the first
    EXPECT_EQ(sheet.frame().height(), 16 + 24 + 100 + 16 + 24 + 50 + 16);
    tarn::PanelRenderer three(*t.panel, {.window = 3});
    EXPECT_EQ(three.frame().width(), 100);
    EXPECT_THROW(tarn::PanelRenderer(*t.panel, {.window = 1}), tarn::HostError);
    EXPECT_THROW(tarn::PanelRenderer(*t.panel, {.scale = 0}), tarn::HostError);
    EXPECT_NO_THROW(tarn::PanelRenderer(*t.panel, {.scale = 16, .window = 0}));  // 4800 x 1600 pixels
}

// A picture over 16384 pixels a side, or a gauge drawn larger, is refused before anything
// is drawn; the gauge's error names its line.
TEST(Panel, PicturesHaveALimit) {
    TestPanel wide("[Window00]\nsize_mm=2000,10\ngauge00=TestGauges!Plain, 0, 0, 900000\n");
    EXPECT_THROW(tarn::PanelRenderer(*wide.panel, {.scale = 10, .window = 0}), tarn::HostError);  // 20000 pixels
    try {
        tarn::PanelRenderer r(*wide.panel, {.scale = 1, .window = 0});
        FAIL();
    } catch (const tarn::HostError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("t.cfg:3: TestGauges!Plain would be 900000x450000 pixels", 0), 0u)
            << e.what();
    }
}

// Gauges side by side each show in their own box, whether opaque or not.
TEST(Panel, GaugesSideBySideAllShow) {
    TestPanel t("[Window00]\nsize_mm=420,120\nbackground_color=0,0,255\n"
                "gauge00=TestGauges!Plain, 0, 0, 200\n"
                "gauge01=TestGauges!Canvas, 210, 0, 200\n");
    t.host.update_all();
    tarn::PanelRenderer r(*t.panel, {.window = 0});
    const tarn::Image& img = r.frame();
    const uint32_t blue = 0xFF0000FFu;
    tarn::PluginImages images(t.host.module("TestGauges"));
    const tarn::Image* back = images.bitmap(100, {});
    ASSERT_NE(back, nullptr);
    for (int x : {0, 60, 100, 199}) {
        EXPECT_EQ(img.pixel(x, 20), back->pixel(x, 20)) << x;  // the first gauge, as its background
        EXPECT_EQ(img.pixel(x, 99), back->pixel(x, 99)) << x;
    }
    EXPECT_EQ(img.pixel(211, 1), back->pixel(1, 1));  // the second, at its top-left
    EXPECT_EQ(img.pixel(205, 50), blue);   // the window between them
    EXPECT_EQ(img.pixel(100, 110), blue);  // and below
    EXPECT_EQ(img.pixel(415, 50), blue);
}

// After the first frame only the gauges that changed are drawn again, and only the
// pixels around what moved change in the picture.
TEST(Panel, LaterFramesRedrawWhatChanged) {
    TestPanel t("[Window00]\nsize_mm=500,120\n"
                "gauge00=TestGauges!Canvas, 0, 0, 200\n"
                "gauge01=TestGauges!Canvas, 250, 0, 200\n");
    t.host.update_all();
    tarn::PanelRenderer r(*t.panel, {.window = 0});
    r.frame();
    EXPECT_EQ(r.redrawn(), 2);
    tarn::Image before(500, 120, false);
    auto copy = [&](tarn::Image& to) {
        cairo_t* cr = cairo_create(to.surface());
        cairo_set_source_surface(cr, r.frame().surface(), 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
    };
    copy(before);
    t.host.update_all();
    r.frame();
    EXPECT_EQ(r.redrawn(), 0);
    // The second gauge's plain needle (pivot 100,70) turns a quarter.
    t.panel->gauges()[1].instance->element(2).angle = 90;
    r.frame();
    EXPECT_EQ(r.redrawn(), 1);
    const tarn::Image& after = r.frame();
    int changed = 0, x0 = 1000, x1 = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 500; ++x)
            if (after.pixel(x, y) != before.pixel(x, y)) {
                ++changed;
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
            }
    EXPECT_GT(changed, 100);
    EXPECT_GE(x0, 250 + 40);   // the needle's old and new places, in the second gauge
    EXPECT_LE(x1, 250 + 160);
}

// However a panel got to its state, frame by frame or at once, it shows the same: gauges
// overlapping, over a window of one colour (where backgrounds are laid over that colour)
// and over a window picture (where the picture shows through transparent pixels).
TEST(Panel, LaterFramesShowWhatAFirstFrameShows) {
    const std::string dir = temp_path("");
    write_bmp(dir + "panel_steps.bmp", [](int x, int y) { return 0x5AC800u + uint32_t(x + 4 * y) * 40; });
    const std::string gauges = "gauge00=TestGauges!Canvas, 10, 10, 200\n"
                               "gauge01=TestGauges!Canvas, 150, 40, 200\n"
                               "gauge02=TestGauges!Plain, 300, 0, 100\n"
                               "gauge03=TestGauges!Canvas, 320, 20, 150\n";
    for (const std::string window : {"size_mm=500,160\nbackground_color=20,40,60\n", "file=panel_steps.bmp\nsize_mm=500\n"}) {
        SCOPED_TRACE(window);
        TestPanel t("[Window00]\n" + window + gauges, dir + "panel.cfg");
        t.host.update_all();
        tarn::PanelRenderer steps(*t.panel, {.scale = 1.5, .window = 0});
        steps.frame();
        struct Change {
            uint32_t token;
            double value;
        };
        for (Change c : {Change{9001, 33}, {9002, 95}, {9007, 40}, {9004, 7}, {9003, 2}, {9009, 1}, {9001, -70},
                         {9006, 6}, {9008, 42}}) {
            t.host.vars().set_number(c.token, c.value);
            t.host.update_all();
            steps.frame();
        }
        tarn::PanelRenderer once(*t.panel, {.scale = 1.5, .window = 0});
        const tarn::Image& a = steps.frame();
        const tarn::Image& b = once.frame();
        ASSERT_EQ(a.width(), b.width());
        ASSERT_EQ(a.height(), b.height());
        int differ = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF) && ++differ < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << a.pixel(x, y) << " after steps, "
                                  << b.pixel(x, y) << " at once";
        EXPECT_EQ(differ, 0);
    }
    std::remove((dir + "panel_steps.bmp").c_str());
}

/* ---- lint ------------------------------------------------------------------------------ */

// Lint finds gauges outside their window, overlapping gauges, idents used twice, unknown
// modules and gauges, and what the configuration does not use.
TEST(PanelLint, FindsLayoutFaults) {
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    PanelConfig cfg = parse_panel_config("[Window00]\nsize_mm=300,100\nident=A\n"
                                         "gauge00=TestGauges!Plain, 0, 0\n"         // 100 x 50
                                         "gauge01=TestGauges!Plain, 95, 45, 4\n"    // overlaps gauge00
                                         "gauge02=TestGauges!Plain, 100, 50\n"      // touches, no overlap
                                         "gauge03=TestGauges!Plain, 250, 60\n"      // reaches outside
                                         "gauge04=TestGauges!Nope, 0, 60, 10, 10\n"
                                         "gauge05=Absent!Plain, 20, 60, 10, 10\n"
                                         "zorder=2\n"
                                         "[Window01]\nsize_mm=10\nident=A\n",
                                         "l.cfg");
    const std::vector<tarn::Finding> f = tarn::lint_panel(host, cfg);
    std::vector<std::string> texts;
    for (const auto& x : f) texts.push_back(x.text());
    ASSERT_EQ(texts.size(), 6u) << testing::PrintToString(texts);
    EXPECT_EQ(texts[0], "l.cfg:5: gauge01 TestGauges!Plain overlaps gauge00 TestGauges!Plain (line 4)");
    EXPECT_EQ(texts[1], "l.cfg:7: gauge03 TestGauges!Plain (250,60 to 350,110) reaches outside [Window00] (300 x 100)");
    EXPECT_EQ(texts[2], "l.cfg:8: unknown gauge TestGauges!Nope");
    EXPECT_EQ(texts[3].rfind("l.cfg:9: unknown module Absent", 0), 0u) << texts[3];
    EXPECT_EQ(texts[4], "l.cfg:10: key 'zorder' is not used by this host");
    EXPECT_EQ(texts[5], "l.cfg:13: ident A also used by [Window00] (line 3)");
}

// The project's own panel places every gauge of both modules, and lint finds nothing.
TEST(PanelLint, TheDefaultPanelIsClean) {
    tarn::PanelHost host(TARN_GAUGES_DIR);
    PanelConfig cfg = tarn::load_panel_config(source_dir() + "/panel/panel.cfg");
    const std::vector<tarn::Finding> f = tarn::lint_panel(host, cfg);
    for (const auto& x : f) ADD_FAILURE() << x.text();
    std::set<std::string> names;
    size_t lines = 0;
    for (const auto& w : cfg.windows)
        for (const auto& g : w.gauges) {
            names.insert(g.name());
            ++lines;
        }
    size_t gauges = 0;
    for (const char* module : {"TARN", "TARN2_Instruments"})
        for (GAUGEHDR* g : host.module(module).gauges()) {
            ++gauges;
            EXPECT_EQ(names.count(std::string(module) + "!" + g->gauge_name), 1u) << g->gauge_name;
        }
    EXPECT_EQ(gauges, 52u);
    EXPECT_EQ(lines, 57u);  // the five engine instruments twice, for both engines
}

/* ---- commands -------------------------------------------------------------------------- */

std::string write_temp(const std::string& name, const std::string& text) {
    const std::string path = temp_path(name);
    std::ofstream(path) << text;
    return path;
}

// render: 0 when every gauge is there, 1 with missing gauges (the picture is still
// written), 2 on a file that is no panel file.
TEST(PanelCommands, RenderExitStatus) {
    const std::string png = temp_path("render_command.png");
    std::ostringstream out, err;
    tarn::RenderCommand c;
    c.config = write_temp("render_ok.cfg", "[Window00]\nsize_mm=220,120\ngauge00=TestGauges!Canvas, 10, 10, 200\n");
    c.output = png;
    c.options.window = 0;
    c.sets = {{9008, "77"}};
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 0) << err.str();
    std::string why;
    tarn::Image img = tarn::read_png(png, &why);
    EXPECT_EQ(img.width(), 220) << why;
    c.config = write_temp("render_missing.cfg", "[Window00]\nsize_mm=100\ngauge00=TestGauges!Gone, 0, 0\n");
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 1);
    EXPECT_NE(err.str().find("render_missing.cfg:3: unknown gauge TestGauges!Gone"), std::string::npos) << err.str();
    // A value it cannot use is a warning, the rest drawn; a file that is not text is refused.
    c.config = write_temp("render_odd.cfg", "[Window00]\nsize_mm=wide\n");
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 0);
    EXPECT_NE(err.str().find("render_odd.cfg:2: bad size_mm width 'wide' (a number): ignored"), std::string::npos)
        << err.str();
    c.config = write_temp("render_bad.cfg", "[Window00]\nsize_mm=10\n\x01\n");
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 2);
    EXPECT_NE(err.str().find("render_bad.cfg:3: the file is not text"), std::string::npos) << err.str();
    // A sheet too large at the scale asked is drawn smaller, with a warning.
    c.config = write_temp("render_wide.cfg", "[Window00]\nsize_mm=20000,100\n");
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 0) << err.str();
    EXPECT_NE(err.str().find("pixels (at most 16384 a side, 64 million in all): choose a smaller scale: drawn at "
                             "scale 0.5 instead"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(tarn::read_png(png, &why).width(), 10000);
    // A text token takes text; a number token refuses it.
    c.config = write_temp("render_ok.cfg", "[Window00]\nsize_mm=100\n");
    c.sets = {{839, "KSEA"}};
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 0) << err.str();
    c.sets = {{390, "many"}};
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 2);
    // An output that cannot be written.
    c.sets.clear();
    c.output = "/nonexistent-folder/p.png";
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 2);
    std::remove(png.c_str());
}

// A --script runs on the panel's own gauges, named WindowNN.gaugeNN, before the final
// update; a failed expectation makes the status 1, a bad script 2.
TEST(PanelCommands, RenderScriptsSeeThePanel) {
    tarn::RenderCommand c;
    c.config = write_temp("render_script.cfg", "[Window00]\nsize_mm=220,120\ngauge00=TestGauges!Canvas, 10, 10, 200\n");
    c.output = temp_path("render_script.png");
    c.options.window = 0;
    c.scripts = {write_temp("render_script.scn", "set 9002 30\nupdate\nexpect Window00.gauge00#3 angle 30\n")};
    std::ostringstream out, err;
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 0) << out.str() << err.str();
    EXPECT_NE(out.str().find("1 passed, 0 failed"), std::string::npos) << out.str();
    c.scripts = {write_temp("render_script_fails.scn", "set 9002 30\nupdate\nexpect Window00.gauge00#3 angle 31\n")};
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 1);
    c.scripts = {write_temp("render_script_kill.scn", "kill Window00.gauge00\n")};
    EXPECT_EQ(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 2);
    EXPECT_NE(err.str().find("render_script_kill.scn:1: instance 'Window00.gauge00' belongs to the panel"),
              std::string::npos)
        << err.str();
    std::remove(c.output.c_str());
}

// lint: 0 clean, 1 with findings (listed with a count), 2 on a file it cannot read.
TEST(PanelCommands, LintExitStatus) {
    std::ostringstream out, err;
    EXPECT_EQ(tarn::lint_command(TARN_TEST_GAUGES_DIR,
                                 write_temp("lint_ok.cfg", "[Window00]\nsize_mm=200\ngauge00=TestGauges!Plain, 0, 0\n"),
                                 out, err),
              0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(tarn::lint_command(TARN_TEST_GAUGES_DIR,
                                 write_temp("lint_bad.cfg", "[Window00]\nsize_mm=50\ngauge00=TestGauges!Plain, 0, 0\n"),
                                 out, err),
              1);
    EXPECT_NE(out.str().find(
                  "lint_bad.cfg:3: gauge00 TestGauges!Plain (0,0 to 100,50) reaches outside [Window00] (50 x 50)"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("1 finding\n"), std::string::npos);
    EXPECT_EQ(tarn::lint_command(TARN_TEST_GAUGES_DIR, "/nonexistent/p.cfg", out, err), 2);
}

/* ---- panel files of other aircraft -------------------------------------------------------- */

std::string panels_dir() { return source_dir() + "/tests/panels/"; }

std::vector<std::string> texts_of(const std::vector<tarn::Finding>& findings) {
    std::vector<std::string> out;
    for (const tarn::Finding& f : findings) out.push_back(f.text());
    return out;
}

// Constructs of panel files that simulators load, file by file: each is read, with what it
// holds that this host cannot use as findings.
TEST(PanelFiles, ConstructsOfOtherAircraftAreRead) {
    auto load = [](const std::string& name) { return tarn::load_panel_config(panels_dir() + name); };
    auto findings = [&](const PanelConfig& cfg) {
        std::vector<std::string> out;
        for (const tarn::Finding& f : cfg.warnings) out.push_back(std::to_string(f.line) + ": " + f.message);
        return out;
    };
    using Texts = std::vector<std::string>;
    // Virtual cockpits only: placed in size_mm units, drawn in pixel_size pixels, titled
    // with the texture; an HTML gauge line is kept as one.
    const PanelConfig vc = load("vcockpit_only.cfg");
    EXPECT_EQ(findings(vc), Texts{"16: key 'emissive' is not used by this host"});
    ASSERT_EQ(vc.windows.size(), 2u);
    EXPECT_TRUE(vc.windows[0].virtual_cockpit);
    EXPECT_EQ(vc.vcockpit(1), &vc.windows[0]);
    EXPECT_EQ(vc.window(1), nullptr);
    EXPECT_EQ(vc.windows[0].title, "$Radio_Stack");
    EXPECT_EQ(vc.windows[0].pixel_size, std::make_pair(400, 200));
    EXPECT_EQ(*vc.windows[0].background, 0x0C0C0Cu);
    ASSERT_EQ(vc.windows[0].gauges.size(), 3u);
    EXPECT_EQ(vc.windows[0].gauges[2].kind, tarn::PanelGauge::Kind::kHtml);
    EXPECT_EQ(vc.windows[0].gauges[2].name(), "Glass/Display/display.html?Index=1");
    EXPECT_EQ(vc.windows[1].key, "Vcockpit02");
    // One-value window_size, a window without size, visible=true, colours with four values
    // and with blanks, a zero-size logic gauge, a bare module name, a line without its
    // position, a number past gauge999, file_NNNN variants.
    const PanelConfig odd = load("window_oddities.cfg");
    EXPECT_EQ(findings(odd),
              (Texts{"14: gauge TestGauges!Plain without its position (MODULE!GAUGE, x, y): placed at 0,0",
                     "15: gauge99999: a number past gauge999: ignored",
                     "19: [Window01] has neither size_mm= nor file=: sized by its gauges",
                     "23: background_color '0,0,0,0': only r,g,b are used"}));
    const tarn::PanelWindow& main = odd.windows.at(0);
    EXPECT_EQ(main.file, "absent_1280.bmp");  // the widest screen's, without file=
    EXPECT_EQ(main.file_line, 7);
    EXPECT_EQ(main.window_size, std::make_pair(0.5, 0.5));
    EXPECT_TRUE(main.visible);
    EXPECT_EQ(*main.background, 0x101010u);
    ASSERT_EQ(main.gauges.size(), 5u);
    EXPECT_EQ(*main.gauges[0].w, 0);
    EXPECT_EQ(main.gauges[1].module, "TestGauges");
    EXPECT_EQ(main.gauges[1].gauge, "");  // the module's first gauge
    EXPECT_EQ(main.gauges[2].x, 0);
    EXPECT_EQ(*odd.windows.at(1).background, 0u);
    // A byte-order mark, CR LF, a UTF-8 title, a trailing Ctrl-Z, a line before any section.
    const PanelConfig bom = load("bom_crlf_ctrlz.cfg");
    EXPECT_EQ(findings(bom), Texts{"1: text before the first [SECTION]: ignored"});
    EXPECT_EQ(bom.windows.at(0).title, "Tableau de bord \xC3\xA9tendu");
    EXPECT_EQ(bom.windows[0].gauges.at(0).line, 6);
    // CR alone ends lines; a Windows-1252 title is made UTF-8.
    const PanelConfig cr = load("cr_only_cp1252.cfg");
    EXPECT_EQ(findings(cr), Texts{});
    EXPECT_EQ(cr.windows.at(0).title, "Caf\xC3\xA9 \xE2\x82\xAC panel");
    EXPECT_EQ(cr.windows[0].gauges.at(0).line, 5);
    // A key, a gauge number and a section given twice: the first is kept.
    const PanelConfig twice = load("duplicates.cfg");
    EXPECT_EQ(findings(twice).size(), 4u) << testing::PrintToString(findings(twice));
    ASSERT_EQ(twice.windows.size(), 1u);
    EXPECT_EQ(*twice.windows[0].size_w, 200);
    ASSERT_EQ(twice.windows[0].gauges.size(), 1u);
    EXPECT_EQ(twice.windows[0].gauges[0].x, 0);
    // Names with folders, in any case, are kept as written (the host finds them).
    const PanelConfig names = load("folders_and_case.cfg");
    EXPECT_EQ(findings(names), Texts{});
    EXPECT_EQ(names.windows.at(0).gauges.at(0).module, "Avionics\\TestGauges");
}

// Every test panel file lints with findings (1) and renders (0 or 1), never refused (2);
// the picture is written.
TEST(PanelFiles, NoneIsRefused) {
    const std::string png = temp_path("panel_file.png");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(panels_dir())) {
        ++files;
        std::ostringstream out, err;
        const int lint = tarn::lint_command(TARN_TEST_GAUGES_DIR, entry.path().string(), out, err);
        EXPECT_EQ(lint, entry.path().filename() == "cr_only_cp1252.cfg" ? 0 : 1) << entry.path() << err.str();
        tarn::RenderCommand c;
        c.config = entry.path().string();
        c.output = png;
        std::remove(png.c_str());
        EXPECT_LE(tarn::render_command(TARN_TEST_GAUGES_DIR, c, out, err), 1) << entry.path() << err.str();
        EXPECT_TRUE(std::filesystem::is_regular_file(png)) << entry.path();
    }
    EXPECT_EQ(files, 6);
    std::remove(png.c_str());
}

// Module names with folders ('\' or '/') resolve under the gauges folder, names in any
// case find the module, gauge and picture; a name leaving the folder is refused.
TEST(PanelFiles, NamesAsWindowsReadsThem) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(temp_path("")) / "names_gauges";
    fs::remove_all(dir);
    fs::create_directories(dir / "Avionics");
    fs::copy_file(fs::path(TARN_TEST_GAUGES_DIR) / "TestGauges.gau", dir / "Avionics" / "TestGauges.gau");
    fs::copy_file(fs::path(TARN_TEST_GAUGES_DIR) / "TestGauges.gau", dir / "TestGauges.gau");
    tarn::PanelHost host(dir.string());
    EXPECT_EQ(&host.module("avionics/testgauges"), &host.module("Avionics\\TestGauges"));
    EXPECT_NE(&host.module("TESTGAUGES"), &host.module("avionics/testgauges"));
    EXPECT_NE(host.module("testgauges").find("PLAIN"), nullptr);
    EXPECT_THROW(host.module("Avionics/../TestGauges"), tarn::HostError);
    EXPECT_THROW(host.module("/etc/TestGauges"), tarn::HostError);
    const PanelConfig cfg = tarn::load_panel_config(panels_dir() + "folders_and_case.cfg");
    EXPECT_EQ(texts_of(tarn::lint_panel(host, cfg)),
              std::vector<std::string>{panels_dir() + "folders_and_case.cfg:6: bad module name '..\\TestGauges'"});
    // A picture named in another case, behind a backslash.
    fs::create_directories(dir / "Panel" / "Art");
    write_bmp((dir / "Panel" / "Art" / "Back.BMP").string(), [](int, int) { return 0x00FF00u; });
    tarn::Panel panel(host, parse_panel_config("[Window00]\nfile=art\\back.bmp\nsize_mm=40\n",
                                               (dir / "Panel" / "panel.cfg").string()));
    EXPECT_TRUE(panel.problems().empty()) << texts_of(panel.problems())[0];
    EXPECT_EQ(panel.window_picture(panel.config().windows[0]).width(), 4);
    fs::remove_all(dir);
}

// Gauge boxes are clipped to their window (a missing gauge's box no longer runs over the
// next window's title); a gauge wholly outside and a gauge without size are reported and
// not drawn.
TEST(Panel, BoxesStayInTheirWindow) {
    TestPanel t("[Window00]\nsize_mm=100,50\nbackground_color=0,0,255\n"
                "gauge00=TestGauges!Nothing, 60, 30\n"             // 50 x 50 units: reaches out
                "gauge01=TestGauges!Plain, 200, 10, 20, 20\n"      // wholly outside
                "gauge02=TestGauges!Plain, 0, 0, 0, 0\n"           // no size
                "gauge03=NoModule!Logic, -80, -80, 10, 10\n"       // wholly outside, missing
                "[Window01]\nsize_mm=100,50\nbackground_color=0,255,0\n");
    EXPECT_EQ(texts_of(t.panel->problems()),
              (std::vector<std::string>{
                  "t.cfg:4: unknown gauge TestGauges!Nothing (drawn as a magenta box)",
                  "t.cfg:5: gauge01 TestGauges!Plain (200,10 to 220,30) lies wholly outside [Window00] (100 x 50): not drawn",
                  "t.cfg:6: gauge02 TestGauges!Plain has no size: not drawn",
                  "t.cfg:7: unknown module NoModule: no " TARN_TEST_GAUGES_DIR "/NoModule.gau",
                  "t.cfg:7: gauge03 NoModule!Logic (-80,-80 to -70,-70) lies wholly outside [Window00] (100 x 50): not drawn"}));
    EXPECT_NE(t.panel->gauges()[2].instance, nullptr);  // made, never drawn
    tarn::PanelRenderer sheet(*t.panel, {});
    const tarn::Image& img = sheet.frame();
    EXPECT_FALSE(sheet.gauge_rect(1));
    EXPECT_FALSE(sheet.gauge_rect(2));
    EXPECT_FALSE(sheet.gauge_rect(3));
    // Window00 at (16, 40) to (116, 90); the magenta box ends at its edges.
    EXPECT_EQ(img.pixel(16 + 99, 40 + 49), 0xFFFF00FFu);
    EXPECT_EQ(img.pixel(16 + 100, 40 + 49), 0xFF202224u);  // the sheet beside it
    EXPECT_EQ(img.pixel(16 + 99, 40 + 50), 0xFF202224u);   // and below it, above the next title
    EXPECT_EQ(img.pixel(16 + 2, 40 + 2), 0xFF0000FFu);
    // Its name is shortened to the 40 x 20 pixels that show, not cut at the box's edges:
    // the column inside the outline stays clear, and the text is drawn.
    int dark = 0;
    for (int y = 40 + 31; y < 40 + 49; ++y) {
        EXPECT_EQ(img.pixel(16 + 61, y), 0xFFFF00FFu) << y;
        for (int x = 16 + 62; x < 16 + 99; ++x) dark += (img.pixel(x, y) & 0xFF) < 0x80;
    }
    EXPECT_GT(dark, 20);
}

// A label too wide for its box is its start and an ellipsis, as much as fits; Windows-1252
// text is drawn as the characters it stands for.
TEST(Panel, LabelsAreShortenedToFit) {
    tarn::Image img(200, 20, false);
    cairo_t* cr = cairo_create(img.surface());
    const std::string name = "TARN2_Instruments!Engine Settings";
    EXPECT_EQ(tarn::draw_label(cr, name, 0, 0, 600, 16, 0), name);
    const std::string short_one = tarn::draw_label(cr, name, 0, 0, 60, 16, 0);
    ASSERT_GT(short_one.size(), 4u);
    EXPECT_EQ(short_one.substr(short_one.size() - 3), "\xE2\x80\xA6");  // the ellipsis
    EXPECT_EQ(name.rfind(short_one.substr(0, short_one.size() - 3), 0), 0u) << short_one;
    const std::string longer = tarn::draw_label(cr, name, 0, 0, 90, 16, 0);
    EXPECT_GT(longer.size(), short_one.size());  // as much as fits
    EXPECT_EQ(tarn::draw_label(cr, "Caf\xE9", 0, 0, 200, 16, 0), "Caf\xC3\xA9");
    cairo_destroy(cr);
}

// A virtual cockpit is drawn as its texture: pixel_size pixels, gauges placed in them;
// an HTML gauge is a labelled grey-blue box. --vcockpit picks one, --window does not.
TEST(Panel, VirtualCockpitsAreTextures) {
    tarn::PanelHost host{TARN_TEST_GAUGES_DIR};
    tarn::Panel panel(host, tarn::load_panel_config(panels_dir() + "vcockpit_only.cfg"));
    tarn::PanelRenderer r(panel, {.vcockpit = 1});
    const tarn::Image& img = r.frame();
    EXPECT_EQ(img.width(), 400);
    EXPECT_EQ(img.height(), 200);
    const auto rect = r.gauge_rect(0);
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->w, 200);  // 100 units at 2 pixels a unit
    EXPECT_EQ(rect->h, 100);
    EXPECT_EQ(img.pixel(300, 190), 0xFF8090B0u);  // the HTML gauge's box
    EXPECT_EQ(img.pixel(100, 150), 0xFF0C0C0Cu);  // the texture's colour
    EXPECT_EQ(tarn::PanelRenderer(panel, {.vcockpit = 2}).frame().width(), 64);
    EXPECT_THROW(tarn::PanelRenderer(panel, {.window = 1}), tarn::HostError);
    EXPECT_THROW(tarn::PanelRenderer(panel, {.vcockpit = 3}), tarn::HostError);
}

// 10 000 gauges at one spot (ten windows of gauge000 to gauge999): lint's overlap
// findings stay bounded, the rest summed up.
TEST(PanelLint, OverlapsAreBounded) {
    std::string spread;
    for (int w = 0; w < 10; ++w) {
        spread += "[Window0" + std::to_string(w) + "]\nsize_mm=500,500\n";
        for (int i = 0; i < 1000; ++i) spread += "gauge" + std::to_string(i) + "=TestGauges!Plain, 10, 10\n";
    }
    tarn::PanelHost host(TARN_TEST_GAUGES_DIR);
    // In one window, gauge1000 on are one finding.
    std::string one = "[Window00]\nsize_mm=500,500\n";
    for (int i = 0; i < 10000; ++i) one += "gauge" + std::to_string(i) + "=TestGauges!Plain, 10, 10\n";
    const std::vector<tarn::Finding> in_one = tarn::lint_panel(host, parse_panel_config(one, "one.cfg"));
    ASSERT_EQ(in_one.size(), 102u);
    EXPECT_EQ(in_one[100].text(), "one.cfg:104: and 899 more gauges overlapping others (the first 100 are listed)");
    EXPECT_EQ(in_one[101].text(),
              "one.cfg:1003: gauge1000: a number past gauge999: ignored (and 8999 more gauge lines past it in [Window00])");
    const std::vector<tarn::Finding> f = tarn::lint_panel(host, parse_panel_config(spread, "big.cfg"));
    ASSERT_EQ(f.size(), 101u);
    EXPECT_EQ(f[0].text(), "big.cfg:4: gauge01 TestGauges!Plain overlaps gauge00 TestGauges!Plain (line 3)");
    EXPECT_EQ(f[1].text(), "big.cfg:5: gauge02 TestGauges!Plain overlaps gauge00 TestGauges!Plain (line 3) and 1 other");
    EXPECT_EQ(f.back().message, "and 9890 more gauges overlapping others (the first 100 are listed)");
}

}  // namespace
