// Flight profiles: the format, the values between keyframes, errors that name the line,
// and the default flight as built in and as shipped.
#include "host/core/profile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "host/core/errors.h"

namespace {

using tarn::Channel;
using tarn::parse_profile;
using tarn::Profile;

std::string error_of(const std::string& text) {
    try {
        parse_profile(text, "p.txt");
    } catch (const tarn::HostError& e) {
        return e.what();
    }
    return "no error";
}

TEST(Profile, KeyframesRunLinearlyAndHoldAtTheEnds) {
    const Profile p = parse_profile("10 altitude=500\n1:10 altitude=1700 # a comment\n", "p.txt");
    double v = 0;
    ASSERT_TRUE(p.value(Channel::altitude, 0, v));
    EXPECT_EQ(v, 500);  // before the first: the first
    p.value(Channel::altitude, 40, v);
    EXPECT_EQ(v, 1100);
    p.value(Channel::altitude, 500, v);
    EXPECT_EQ(v, 1700);  // after the last: the last
    EXPECT_EQ(p.slope(Channel::altitude, 40), 20);
    EXPECT_EQ(p.slope(Channel::altitude, 80), 0);
    EXPECT_FALSE(p.value(Channel::airspeed, 40, v));  // no keyframes: left alone
    EXPECT_EQ(p.length_s, 70);
}

TEST(Profile, StepChannelsJumpAtTheLaterKeyframe) {
    const Profile p = parse_profile("0 marker=0\n10 marker=2\n", "p.txt");
    double v = 0;
    p.value(Channel::marker, 9.99, v);
    EXPECT_EQ(v, 0);
    p.value(Channel::marker, 10, v);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(p.slope(Channel::marker, 5), 0);
}

TEST(Profile, ActionsKeepTheirOrderAndKinds) {
    const Profile p = parse_profile("length 100\n1 event 66241\n2 event 65820 16384\n2 set 839 \"RW27\"\n3 set 615 60.96\n",
                                    "p.txt");
    ASSERT_EQ(p.actions.size(), 4u);
    EXPECT_EQ(p.actions[0].kind, tarn::ProfileAction::event);
    EXPECT_EQ(p.actions[0].value, 0u);
    EXPECT_EQ(p.actions[1].value, 16384u);
    EXPECT_EQ(p.actions[2].kind, tarn::ProfileAction::set_text);
    EXPECT_EQ(p.actions[2].text, "RW27");
    EXPECT_EQ(p.actions[3].number, 60.96);
    EXPECT_EQ(p.length_s, 100);
}

TEST(Profile, BadInputNamesTheLine) {
    EXPECT_EQ(error_of("1 altitude=5\n0 altitude=6\n"), "p.txt:2: time 0 is before the line above's");
    EXPECT_EQ(error_of("\n1 speed=5\n").rfind("p.txt:2: unknown channel 'speed'", 0), 0u);
    EXPECT_EQ(error_of("1 altitude=high\n"), "p.txt:1: expected a number, got 'high'");
    EXPECT_EQ(error_of("1:75 event 1\n"), "p.txt:1: expected a time M:SS, got '1:75'");
    EXPECT_EQ(error_of("-1 event 1\n").rfind("p.txt:1: a time from 0", 0), 0u);
    EXPECT_EQ(error_of("1 event 1 2 3\n"), "p.txt:1: usage: TIME event ID [VALUE]");
    EXPECT_EQ(error_of("1 event 1 -2\n").rfind("p.txt:1: expected an event value", 0), 0u);
    EXPECT_EQ(error_of("1 set 839 5\n"), "p.txt:1: token 839 holds text: quote it");
    EXPECT_EQ(error_of("1 set 61 \"x\"\n"), "p.txt:1: token 61 holds a number");
    EXPECT_EQ(error_of("1 altitude=1e999\n"), "p.txt:1: expected a number, got '1e999'");
    EXPECT_EQ(error_of("1 \"unterminated\n"), "p.txt:1: unterminated quoted word");
    EXPECT_EQ(error_of("length 5\n10 event 1\n").rfind("p.txt:0: the length", 0), 0u);
    EXPECT_EQ(error_of(std::string("1 event 1\n\0", 11)), "p.txt:2: the profile is not text (a NUL byte)");
}

TEST(Profile, MissingFileIsNamed) {
    try {
        tarn::load_profile("/nonexistent/flight.txt");
        FAIL();
    } catch (const tarn::HostError& e) {
        EXPECT_STREQ(e.what(), "/nonexistent/flight.txt: cannot open the profile: No such file or directory");
    }
}

TEST(Profile, DefaultFlightIsAboutTenMinutesAndShippedAsAFile) {
    const Profile p = tarn::default_profile();
    EXPECT_EQ(p.length_s, 640);
    EXPECT_GT(p.actions.size(), 50u);
    for (int c = 0; c < int(Channel::count); ++c)
        if (Channel(c) != Channel::qnh) {
            EXPECT_TRUE(p.has(Channel(c))) << tarn::kChannels[c].name;
        }
    // The source tree's profiles folder, two folders above this file.
    std::string here = __FILE__;
    here = here.substr(0, here.rfind('/'));
    std::ifstream in(here.substr(0, here.rfind('/')) + "/../profiles/default_flight.txt");
    ASSERT_TRUE(in) << "profiles/default_flight.txt";
    std::stringstream file;
    file << in.rdbuf();
    EXPECT_EQ(file.str(), tarn::default_profile_text());
}

}  // namespace
