// The headless flight: the default flight on a small panel reaches its end, writes its
// snapshots and a summary with the callouts; bad input is refused with status 2.
#include "host/draw/fly.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

namespace fs = std::filesystem;

fs::path fresh_dir(const std::string& name) {
    const fs::path dir = fs::temp_directory_path() / ("tarn-fly-" + name + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

std::string read(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Fly, DefaultFlightReachesItsEndWithTheCallouts) {
    const fs::path dir = fresh_dir("default");
    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=500,200\n"
                                        "gauge00=TARN2_Instruments!Radio_Alt, 0, 0, 150, , s1\n"
                                        "gauge01=TARN2_Instruments!Tachometer, 160, 0, 150, , 1\n"
                                        "gauge02=TARN!Magnetos, 320, 0, 170\n";
    tarn::FlyCommand c;
    c.config = (dir / "panel.cfg").string();
    c.output_dir = (dir / "out").string();
    c.every_s = 300;  // at 0, 300 and 600 s, and at the end
    std::ostringstream out, err;
    EXPECT_EQ(tarn::fly_command(TARN_GAUGES_DIR, c, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    for (const char* name : {"snapshot-0000.png", "snapshot-0500.png", "snapshot-1000.png", "snapshot-1040.png", "summary.txt"})
        EXPECT_TRUE(fs::is_regular_file(dir / "out" / name)) << name;
    const std::string summary = read(dir / "out" / "summary.txt");
    EXPECT_NE(summary.find("640.0 s of 640.0 s"), std::string::npos) << summary;
    EXPECT_NE(summary.find("Snapshots, every 300.0 s: 4 in"), std::string::npos);
    EXPECT_NE(summary.find("Callouts spoken: 12\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("2500 ft (wave:3100)"), std::string::npos);
    EXPECT_NE(summary.find("decision height (wave:3240)"), std::string::npos);
    EXPECT_NE(summary.find("66241 0  toggle battery master"), std::string::npos);
    EXPECT_NE(summary.find("Key events unknown to the host: 0\n"), std::string::npos);
    EXPECT_NE(summary.find("390  engine 1 speed, rpm: 0.00"), std::string::npos);
    EXPECT_NE(out.str().find("12 callouts"), std::string::npos) << out.str();
    fs::remove_all(dir);
}

TEST(Fly, BadInputIsRefused) {
    const fs::path dir = fresh_dir("bad");
    std::ofstream(dir / "panel.cfg") << "[Window00]\nsize_mm=100,100\n";
    std::ofstream(dir / "bad.txt") << "0 airspeed=0\n5 speed=3\n";
    tarn::FlyCommand c;
    c.config = (dir / "panel.cfg").string();
    std::ostringstream out, err;
    EXPECT_EQ(tarn::fly_command(TARN_GAUGES_DIR, c, out, err), 2);  // no output folder
    c.output_dir = (dir / "out").string();
    c.profile = (dir / "bad.txt").string();
    err.str("");
    EXPECT_EQ(tarn::fly_command(TARN_GAUGES_DIR, c, out, err), 2);
    EXPECT_NE(err.str().find("bad.txt:2: unknown channel 'speed'"), std::string::npos) << err.str();
    c.profile.clear();
    c.config = (dir / "missing.cfg").string();
    err.str("");
    EXPECT_EQ(tarn::fly_command(TARN_GAUGES_DIR, c, out, err), 2);
    EXPECT_NE(err.str().find("missing.cfg"), std::string::npos);
    fs::remove_all(dir);
}

}  // namespace
