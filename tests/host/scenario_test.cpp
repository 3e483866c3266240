// Script words and whole runs of the scenario runner.
#include "host/core/scenario.h"
#include "tests/host/test_scripts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using tarn::split_words;

std::vector<std::string> texts(const std::string& line) {
    std::vector<std::string> out;
    for (const tarn::Word& w : split_words(line)) out.push_back(w.text);
    return out;
}

TEST(ScenarioWords, QuotesCommentsAndBackslashes) {
    EXPECT_EQ(texts("set 390 2400"), (std::vector<std::string>{"set", "390", "2400"}));
    // A backslash inside quotes is an ordinary character.
    EXPECT_EQ(texts("expect sound \"sound\\click.wav\""),
              (std::vector<std::string>{"expect", "sound", "sound\\click.wav"}));
    // Quotes make one word, blanks and '#' included.
    EXPECT_EQ(texts("gauge tc \"TARN2_Instruments!Turn Coordinator\" \"#2 x\""),
              (std::vector<std::string>{"gauge", "tc", "TARN2_Instruments!Turn Coordinator", "#2 x"}));
    // '#' at the start of a word begins a comment; inside a word it is part of it.
    EXPECT_EQ(texts("expect g#3 frame 1 # the lamp"), (std::vector<std::string>{"expect", "g#3", "frame", "1"}));
    EXPECT_TRUE(texts("   # only a comment").empty());
    EXPECT_TRUE(texts("\t\r").empty());
    EXPECT_TRUE(split_words("set 839 \"\"")[2].quoted);
    EXPECT_EQ(split_words("set 839 \"\"")[2].text, "");
    EXPECT_THROW(split_words("set 839 \"KSEA"), std::invalid_argument);
}

TEST(ScenarioRunner, EachScriptStartsFromAFreshHost) {
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    const std::string script =
        "clock 5\n"
        "expect var 390 0\n"
        "gauge p TestGauges!Probe\n"
        "expect event 1002 1\n"
        "set 390 12\n"
        "wait 10\n"
        "update\n";
    runner.run_text("one.scn", script);
    runner.run_text("two.scn", script);
    EXPECT_EQ(runner.failed(), 0) << out.str();
    EXPECT_EQ(runner.passed(), 4);
}

TEST(ScenarioRunner, BadInputNamesTheFileAndLine) {
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    auto message = [&](const std::string& text) { return tarn::test::script_error(runner, text); };
    EXPECT_EQ(message("echo hi\nupdate 2 every\n"), "s.scn:2: usage: update [N] [every MS]");
    EXPECT_EQ(message("gauge p TestGauges!Probe\ngauge p TestGauges!Probe\n"), "s.scn:2: instance 'p' already exists");
    EXPECT_EQ(message("gauge p TestGauges!Probe\nexpect p#2 frame 1\n"), "s.scn:2: p#2 is not an icon");
    EXPECT_EQ(message("gauge p TestGauges!Probe\nexpect p#9 value 1\n"), "s.scn:2: p#9 has axes: use x, y or rotation");
    EXPECT_EQ(message("set 839 5\n"), "s.scn:1: token 839 holds text, not a number");
    EXPECT_EQ(message("fail 64\n"), "s.scn:1: expected a failure key (a whole number from 1 to 63), got '64'");
    EXPECT_EQ(message("clock -1\n"), "s.scn:1: expected milliseconds (a whole number from 0 to 4294967295), got '-1'");
    EXPECT_EQ(message(std::string("set 1 2\n\0x\n", 11)), "s.scn:2: the script is not text (a NUL byte)");
    EXPECT_EQ(message("gauge p TestGauges\n"), "s.scn:1: expected MODULE!GAUGE, got 'TestGauges'");
}

TEST(ScenarioRunner, TheClockWrapsInUnsigned32Bits) {
    std::ostringstream out;
    tarn::ScenarioRunner runner(TARN_TEST_GAUGES_DIR, out);
    runner.run_text("wrap.scn",
                    "gauge p TestGauges!Probe\n"
                    "set 350 0\n"
                    "clock 4294967000\n"
                    "update\n"
                    "set 350 100\n"
                    "wait 1000\n"  // the clock wraps to 704
                    "update\n"
                    "expect p#3 angle 10\n");
    EXPECT_EQ(runner.failed(), 0) << out.str();
}

}  // namespace
