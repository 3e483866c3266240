// The registration placard's parameter string: the text shown, and the colour and font
// options.
#include "instruments/registration_params.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string text_of(const char* params, size_t max_chars = 7, size_t out_size = 32) {
    char out[64];
    std::memset(out, 'x', sizeof out);
    registration_text_from(params, out, out_size, max_chars);
    return out;
}

struct Options {
    BOOL applied;
    COLORREF color;
    std::string font;
};

Options options_of(const char* params, COLORREF color = 0xffffff, size_t font_size = 32) {
    char font[64] = "Arial";
    const BOOL applied = registration_apply_options(params, &color, font, font_size);
    return {applied, color, font};
}

TEST(RegistrationText, TheRegistrationAfterALeadingT) {
    EXPECT_EQ(text_of("tG-ABCD"), "G-ABCD");
    EXPECT_EQ(text_of("tD_EFGH r255 g255 b0 fQuartz"), "D EFGH");  // cut at the blank, '_' as blank
    EXPECT_EQ(text_of("tA__B"), "A  B");                           // every underscore
    EXPECT_EQ(text_of("t"), "");
    EXPECT_EQ(text_of("t r0"), "");
}

TEST(RegistrationText, TheDefaultWithoutALeadingT) {
    EXPECT_EQ(text_of(nullptr), "N700MS");
    EXPECT_EQ(text_of(""), "N700MS");
    EXPECT_EQ(text_of("xyz"), "N700MS");
    EXPECT_EQ(text_of("G-ABCD tX"), "N700MS");  // a 't' later in the string does not count
    EXPECT_EQ(text_of("Tabc"), "N700MS");       // the key is lower case
    EXPECT_EQ(text_of("/tABC"), "N700MS");
}

TEST(RegistrationText, CommentCharactersHideBlanksAndUnderscores) {
    EXPECT_EQ(text_of("tA_B/C_D"), "A B/C_D");
    EXPECT_EQ(text_of("tA_#_B"), "A #_B");
    EXPECT_EQ(text_of("tA_'_B"), "A '_B");
    EXPECT_EQ(text_of("tAB/C r0", 20), "AB/C r0");  // the blank after '/' does not end the text
    EXPECT_EQ(text_of("tABC,r255", 20), "ABC,r255");
}

TEST(RegistrationText, CutToTheCharactersAndTheBuffer) {
    EXPECT_EQ(text_of("tABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD"), "ABCDEFG");
    EXPECT_EQ(text_of("tABCDEFG"), "ABCDEFG");                 // exactly 7
    EXPECT_EQ(text_of("tABCDEFGHIJ", 100, 5), "ABCD");         // the buffer holds 4 and the zero
    EXPECT_EQ(text_of("tAB_CDEFGH_I"), "AB CDEF");             // underscores of the cut text
    EXPECT_EQ(text_of(nullptr, 3), "N70");
    // Nothing is written into a buffer of no size.
    char out[4] = "abc";
    registration_text_from("tXYZ", out, 0, 7);
    EXPECT_STREQ(out, "abc");
    registration_text_from("tXYZ", nullptr, 10, 7);  // and no buffer is no crash
}

TEST(RegistrationOptions, ColourAndFont) {
    const Options o = options_of("tD_EFGH r255 g255 b0 fQuartz");
    EXPECT_TRUE(o.applied);
    EXPECT_EQ(o.color, 0x00ffffu);  // red 255, green 255, blue 0
    EXPECT_EQ(o.font, "Quartz");
    EXPECT_EQ(options_of("tA b1 g2 r3").color, 0x010203u);  // any order
    EXPECT_EQ(options_of("tA r1").color, 0xffff01u);        // left out: the current byte
    EXPECT_EQ(options_of("tA r1", 0x12345678).color, 0x345601u);  // the high byte is dropped
    EXPECT_EQ(options_of("tA r g b").color, 0x000000u);     // no digits: 0
    EXPECT_EQ(options_of("tA r 12 g+7 b").color, 0x00070cu);  // blanks and a sign before the digits
    EXPECT_EQ(options_of("tA r12x5").color, 0xffff0cu);     // leading digits only
}

TEST(RegistrationOptions, NumbersBeyondAByteAre255) {
    EXPECT_EQ(options_of("tA r300 g0 b0").color, 0x0000ffu);
    EXPECT_EQ(options_of("tA r-5 g0 b0").color, 0x0000ffu);
    EXPECT_EQ(options_of("tA r256 g255 b0").color, 0x00ffffu);
    EXPECT_EQ(options_of("tA r0 g0 b99999999999999999999999").color, 0xff0000u);
    EXPECT_EQ(options_of("tA r0 g-99999999999999999999999 b0").color, 0x00ff00u);
}

TEST(RegistrationOptions, TheFontEndsTheOptions) {
    Options o = options_of("tA b0 fCourier r0 g0");
    EXPECT_EQ(o.color, 0x00ffffu);  // red and green stand after the font
    EXPECT_EQ(o.font, "Courier r0 g0");
    o = options_of("tA fArial Narrow");
    EXPECT_EQ(o.font, "Arial Narrow");  // the font runs to the end, blanks and all
    EXPECT_EQ(o.color, 0xffffffu);
    EXPECT_EQ(options_of("tA f").font, "");
    // A name longer than the field is cut to 31 characters.
    o = options_of("tA fFONTNAMEFONTNAMEFONTNAMEFONTNAMEFONTNAME");
    EXPECT_EQ(o.font, "FONTNAMEFONTNAMEFONTNAMEFONTNAM");
    EXPECT_EQ(options_of("tA fQuartz", 0xffffff, 4).font, "Qua");
}

TEST(RegistrationOptions, OnlyAfterTheFirstVisibleBlank) {
    Options o = options_of("tABC,r0g0b0fQuartz");
    EXPECT_FALSE(o.applied);
    EXPECT_EQ(o.color, 0xffffffu);
    EXPECT_EQ(o.font, "Arial");
    o = options_of("tAB/C r0 g0 b0 fQuartz");  // the blank is behind a comment
    EXPECT_FALSE(o.applied);
    EXPECT_EQ(o.color, 0xffffffu);
    EXPECT_FALSE(options_of(nullptr).applied);
    EXPECT_FALSE(options_of("").applied);
    // The registration's own letters are not options: 'r', 'g', 'b', 'f' before the blank.
    o = options_of("trgbf r1");
    EXPECT_EQ(o.color, 0xffff01u);
    EXPECT_EQ(o.font, "Arial");
}

TEST(RegistrationOptions, CommentsAmongTheOptionsHideKeys) {
    EXPECT_EQ(options_of("tABC g0 #r0").color, 0xff00ffu);
    EXPECT_EQ(options_of("tABC r0 'g0 b0").color, 0xffff00u);
    const Options o = options_of("tABC r0 /fQuartz");
    EXPECT_EQ(o.color, 0xffff00u);
    EXPECT_EQ(o.font, "Arial");
}

}  // namespace
