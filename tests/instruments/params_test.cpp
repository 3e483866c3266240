// The comment-aware key search of parameter strings.
#include "instruments/params.h"

#include <gtest/gtest.h>

namespace {

TEST(ParamHasKey, FirstOccurrenceUnlessACommentStandsBefore) {
    const char* text = "x2y2";
    EXPECT_EQ(param_has_key(text, '2'), text + 1);  // the first occurrence
    const char* twelve = "12";
    EXPECT_EQ(param_has_key(twelve, '1'), twelve);
    EXPECT_EQ(param_has_key(twelve, '2'), twelve + 1);
    EXPECT_EQ(param_has_key("3", '2'), nullptr);     // not there
    EXPECT_EQ(param_has_key("/2", '2'), nullptr);    // each comment character before it hides it
    EXPECT_EQ(param_has_key("#2", '2'), nullptr);
    EXPECT_EQ(param_has_key("'2", '2'), nullptr);
    EXPECT_EQ(param_has_key("a / b 2", '2'), nullptr);
    const char* after = "2 # comment";
    EXPECT_EQ(param_has_key(after, '2'), after);     // a comment after the key does not matter
    const char* t = "t G-ABCD";
    EXPECT_EQ(param_has_key(t, 't'), t);
    EXPECT_EQ(param_has_key(nullptr, '1'), nullptr);
    EXPECT_EQ(param_has_key("", '1'), nullptr);
}

}  // namespace
