// The scenario command `snapshot FILE [NAME]`: one instance at its own size, or every
// instance of the script in rows.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "host/draw/bitmap.h"
#include "host/core/scenario.h"
#include "host/draw/snapshot.h"
#include "tests/host/test_scripts.h"

namespace {

std::string temp_path(const std::string& name) { return std::string(testing::TempDir()) + name; }

tarn::Image read(const std::string& path) {
    std::string why;
    tarn::Image img = tarn::read_png(path, &why);
    EXPECT_FALSE(img.empty()) << why;
    return img;
}

// A snapshot of one instance is the gauge as drawn now, at its own size; moving a needle
// and updating changes the next snapshot.
TEST(RenderSnapshot, OneInstanceAtItsOwnSize) {
    const std::string a = temp_path("snap_a.png"), b = temp_path("snap_b.png");
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    tarn::enable_snapshots(runner);
    runner.run_text("snap.scn", "gauge c TestGauges!Canvas\nupdate\nsnapshot \"" + a +
                                    "\" c\nset 9002 90\nupdate\nsnapshot \"" + b + "\" c\n");
    tarn::Image before = read(a), after = read(b);
    ASSERT_EQ(before.width(), 200);
    ASSERT_EQ(before.height(), 100);
    // The plain needle (pivot 100,70, 55 pixels long) pointed up and now points right.
    EXPECT_NE(before.pixel(100, 30), after.pixel(100, 30));
    EXPECT_NE(before.pixel(140, 70), after.pixel(140, 70));
    EXPECT_EQ(before.pixel(10, 10), after.pixel(10, 10));
    std::remove(a.c_str());
    std::remove(b.c_str());
}

// Without a name every instance is drawn, in creation order, left to right.
TEST(RenderSnapshot, AllInstancesInARow) {
    const std::string all = temp_path("snap_all.png");
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    tarn::enable_snapshots(runner);
    runner.run_text("snap.scn", "gauge a TestGauges!Plain\ngauge b TestGauges!Canvas\nupdate\nsnapshot \"" + all + "\"\n");
    tarn::Image img = read(all);
    EXPECT_EQ(img.width(), 8 + 200 + 8 + 200 + 8);
    EXPECT_EQ(img.height(), 8 + 100 + 8);
    const uint32_t sheet = img.pixel(2, 2);
    EXPECT_NE(img.pixel(8, 8), sheet);      // the first gauge's corner
    EXPECT_NE(img.pixel(216, 8), sheet);    // the second's
    EXPECT_EQ(img.pixel(212, 50), sheet);   // the gap between them
    std::remove(all.c_str());
}

// Bad snapshots stop the script with the line: an unknown instance, an unwritable file,
// a missing file name.
TEST(RenderSnapshot, BadInputNamesTheLine) {
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    tarn::enable_snapshots(runner);
    auto message = [&](const std::string& text) { return tarn::test::script_error(runner, text); };
    EXPECT_EQ(message("gauge c TestGauges!Canvas\nsnapshot x.png nobody\n"), "s.scn:2: unknown instance 'nobody'");
    EXPECT_EQ(message("gauge c TestGauges!Canvas\nsnapshot /nonexistent-dir/x.png c\n"),
              "s.scn:2: cannot write /nonexistent-dir/x.png: No such file or directory");
    EXPECT_EQ(message("snapshot\n"), "s.scn:1: usage: snapshot FILE [NAME]");
}

}  // namespace
