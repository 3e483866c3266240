// The engine selector: parameter keys, the spacing of per-engine tokens and key events,
// and the rewrite of a gauge's records.
#include "instruments/engine_select.h"

#include <gtest/gtest.h>

namespace {

// One range of a spacing table: the value just below, both ends, the value just above.
struct Range {
    UINT32 first, last, d;
};

TEST(TokenSpacing, EachRangeHoldsItsEndsAndNothingAround) {
    const Range ranges[] = {{127, 161, 35}, {390, 428, 39}, {558, 567, 10}, {608, 608, 1}, {624, 642, 19},
                            {700, 707, 8},  {732, 733, 2},  {761, 762, 2},  {801, 801, 1}};
    for (const Range& r : ranges) {
        EXPECT_EQ(token_spacing(r.first - 1), 0u) << r.first;
        EXPECT_EQ(token_spacing(r.first), r.d) << r.first;
        EXPECT_EQ(token_spacing(r.last), r.d) << r.last;
        EXPECT_EQ(token_spacing(r.last + 1), 0u) << r.last;
    }
    // Between ranges and far outside them.
    EXPECT_EQ(token_spacing(0), 0u);
    EXPECT_EQ(token_spacing(341), 0u);  // outside air temperature: one for all engines
    EXPECT_EQ(token_spacing(353), 0u);  // suction
    EXPECT_EQ(token_spacing(413), 39u);
    EXPECT_EQ(token_spacing(0xFFFFFFFFu), 0u);
}

TEST(EventSpacing, EachRangeHoldsItsEndsAndNothingAround) {
    const Range ranges[] = {{65538, 65538, 1}, {65820, 65820, 1}, {65919, 65919, 1}, {65923, 65923, 1},
                            {65927, 65932, 6}, {65963, 65967, 5}, {65983, 65987, 5}, {66003, 66007, 5},
                            {66081, 66083, 3}, {66126, 66127, 2}, {66300, 66300, 1}, {66313, 66313, 1},
                            {66329, 66330, 2}, {66340, 66340, 1}, {66345, 66345, 1}, {66349, 66349, 1},
                            {66359, 66359, 1}, {66363, 66363, 1}};
    for (const Range& r : ranges) {
        EXPECT_EQ(event_spacing(r.first - 1), 0u) << r.first;
        EXPECT_EQ(event_spacing(r.first), r.d) << r.first;
        EXPECT_EQ(event_spacing(r.last), r.d) << r.last;
        EXPECT_EQ(event_spacing(r.last + 1), 0u) << r.last;
    }
    // Event ids compare as unsigned numbers: the top of the range is not "negative".
    EXPECT_EQ(event_spacing(0), 0u);
    EXPECT_EQ(event_spacing(0x80000000u), 0u);
    EXPECT_EQ(event_spacing(0xFFFFFFFFu), 0u);
}

TEST(EngineSteps, KeysAreTriedInTheOrderOneToFour) {
    EXPECT_EQ(engine_steps(nullptr), 0u);
    EXPECT_EQ(engine_steps(""), 0u);
    EXPECT_EQ(engine_steps("1"), 0u);
    EXPECT_EQ(engine_steps("2"), 1u);
    EXPECT_EQ(engine_steps("3"), 2u);
    EXPECT_EQ(engine_steps("4"), 3u);
    EXPECT_EQ(engine_steps("5"), 0u);      // no key: engine 1
    EXPECT_EQ(engine_steps("12"), 0u);     // "1" first
    EXPECT_EQ(engine_steps("21"), 0u);     // "1" is tried first, wherever it stands
    EXPECT_EQ(engine_steps("32"), 1u);     // "2" before "3"
    EXPECT_EQ(engine_steps("engine 4"), 3u);
}

TEST(EngineSteps, KeysAfterACommentCharacterAreNotSeen) {
    EXPECT_EQ(engine_steps("/2"), 0u);
    EXPECT_EQ(engine_steps("#2"), 0u);
    EXPECT_EQ(engine_steps("'2"), 0u);
    EXPECT_EQ(engine_steps("4/1"), 3u);    // the "1" is in the comment
    EXPECT_EQ(engine_steps("3 # 2"), 2u);  // and so is the "2"
    EXPECT_EQ(engine_steps("2 # 1"), 1u);  // a "1" in the comment does not choose engine 1
}

TEST(RemapToken, MovesByOneBlockPerEngine) {
    EXPECT_EQ(remap_token("2", 390), 429u);
    EXPECT_EQ(remap_token("2", 413), 452u);
    EXPECT_EQ(remap_token("2", 415), 454u);
    EXPECT_EQ(remap_token("3", 390), 468u);
    EXPECT_EQ(remap_token("4", 390), 507u);
    EXPECT_EQ(remap_token("4", 127), 127u + 3 * 35);
    EXPECT_EQ(remap_token("3", 801), 803u);
    // Engine 1 and tokens outside every block stay.
    EXPECT_EQ(remap_token(nullptr, 390), 390u);
    EXPECT_EQ(remap_token("1", 390), 390u);
    EXPECT_EQ(remap_token("2", 341), 341u);
    EXPECT_EQ(remap_token("2", 353), 353u);
    EXPECT_EQ(remap_token("2", 557), 557u);
    EXPECT_EQ(remap_token("4", 0), 0u);
}

TEST(RemapEvent, MovesByOneBlockPerEngine) {
    EXPECT_EQ(remap_event("2", 65927), 65933u);
    EXPECT_EQ(remap_event("4", 65932), 65932u + 18);
    EXPECT_EQ(remap_event("3", 66081), 66087u);
    EXPECT_EQ(remap_event("2", 66363), 66364u);
    EXPECT_EQ(remap_event("1", 65927), 65927u);
    EXPECT_EQ(remap_event("2", 65926), 65926u);
    EXPECT_EQ(remap_event("2", 0), 0u);
}

// A gauge with one element of each kind that reads variables, in a tree of two levels,
// and a mouse list with a nested parent.
struct SelectorFixture : ::testing::Test {
    ELEMENT_NEEDLE needle = {.header = {.element_type = ELEMENT_TYPE_NEEDLE}, .source_var = {390}};
    ELEMENT_ICON icon = {.header = {.element_type = ELEMENT_TYPE_ICON}, .source_var = {391}};
    ELEMENT_STRING text = {.header = {.element_type = ELEMENT_TYPE_STRING, .resource_id = -1},
                           .source_var = {{413}, {341}, {415}}};
    ELEMENT_SLIDER slider = {.header = {.element_type = ELEMENT_TYPE_SLIDER}, .source_var_x = {416},
                             .source_var_y = {418}};
    ELEMENT_MOVING_IMAGE moving = {.header = {.element_type = ELEMENT_TYPE_MOVING_IMAGE}, .source_var_x = {425},
                                   .source_var_y = {127}};
    ELEMENT_SPRITE sprite = {.header = {.element_type = ELEMENT_TYPE_SPRITE}, .source_var_x = {558},
                             .source_var_y = {624}, .source_var_0 = {700}};
    ELEMENT_STATIC_IMAGE cover = {.header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE}};
    ELEMENT_HEADER* needle_children[4] = {&slider.header, &moving.header, &sprite.header, nullptr};
    ELEMENT_HEADER* root_children[5] = {&needle.header, &icon.header, &text.header, &cover.header, nullptr};
    ELEMENT_STATIC_IMAGE root = {.header = {.element_type = ELEMENT_TYPE_STATIC_IMAGE}};
    ELEMENT_HEADER* list[2] = {&root.header, nullptr};
    MOUSERECT mouse[8] = {
        MOUSE_PARENT_BEGIN(0, 0, 0, 0, 0),
        MOUSE_CHILD_EVENT(0, 0, 10, 10, CURSOR_HAND, MOUSE_LEFTSINGLE, 65927),
        MOUSE_PARENT_BEGIN(10, 0, 10, 10, 0),
        MOUSE_CHILD_EVENT(0, 0, 5, 10, CURSOR_HAND, MOUSE_LEFTSINGLE, 66363),
        MOUSE_CHILD_EVENT(5, 0, 5, 10, CURSOR_HAND, MOUSE_LEFTSINGLE, 65000),
        MOUSE_PARENT_END,
        MOUSE_PARENT_END,
        MOUSE_END,
    };
    GAUGEHDR gauge = {};

    void SetUp() override {
        needle.header.next_element = needle_children;
        root.header.next_element = root_children;
        gauge.elements_list = list;
        gauge.mouse_rect = mouse;
        mouse[2].event_id = 65963;  // a parent's event id is not a key event: it stays
    }
};

TEST_F(SelectorFixture, EngineThreeMovesEverySlotOfEveryKindAndEveryChildEvent) {
    gauge.parameters = "3";
    select_engine(&gauge);
    EXPECT_EQ(needle.source_var.id, 390u + 2 * 39);
    EXPECT_EQ(icon.source_var.id, 391u + 2 * 39);
    EXPECT_EQ(text.source_var[0].id, 413u + 2 * 39);
    EXPECT_EQ(text.source_var[1].id, 341u);  // outside every block
    EXPECT_EQ(text.source_var[2].id, 415u + 2 * 39);
    EXPECT_EQ(slider.source_var_x.id, 416u + 2 * 39);
    EXPECT_EQ(slider.source_var_y.id, 418u + 2 * 39);
    EXPECT_EQ(moving.source_var_x.id, 425u + 2 * 39);
    EXPECT_EQ(moving.source_var_y.id, 127u + 2 * 35);
    EXPECT_EQ(sprite.source_var_x.id, 558u + 2 * 10);
    EXPECT_EQ(sprite.source_var_y.id, 624u + 2 * 19);
    EXPECT_EQ(sprite.source_var_0.id, 700u + 2 * 8);
    EXPECT_EQ(mouse[1].event_id, 65927u + 2 * 6);
    EXPECT_EQ(mouse[3].event_id, 66363u + 2 * 1);
    EXPECT_EQ(mouse[4].event_id, 65000u);  // outside every block
    EXPECT_EQ(mouse[2].event_id, 65963u);  // a parent
}

TEST_F(SelectorFixture, EngineOneAndNoParametersChangeNothing) {
    gauge.parameters = nullptr;
    select_engine(&gauge);
    gauge.parameters = "1";
    select_engine(&gauge);
    EXPECT_EQ(needle.source_var.id, 390u);
    EXPECT_EQ(sprite.source_var_0.id, 700u);
    EXPECT_EQ(mouse[1].event_id, 65927u);
}

TEST_F(SelectorFixture, AGaugeWithoutRecordsIsLeftAlone) {
    select_engine(nullptr);
    gauge.parameters = "2";
    gauge.mouse_rect = nullptr;
    ELEMENT_HEADER* empty[1] = {nullptr};
    gauge.elements_list = empty;
    select_engine(&gauge);
    gauge.elements_list = nullptr;
    select_engine(&gauge);
    EXPECT_EQ(needle.source_var.id, 390u);
    EXPECT_EQ(mouse[1].event_id, 65927u);
}

}  // namespace
