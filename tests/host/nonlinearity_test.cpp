// The needle table mapping: below, at, between and above the breakpoints.
#include "host/core/nonlinearity.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using tarn::NeedleTable;

double wrapped(double degrees) {
    double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

TEST(NeedleTable, TwoEntryTableTurnsWithoutLimit) {
    // The altimeter's hundreds hand: 0 ft at 12 o'clock, 500 ft at 6 o'clock.
    NONLINEARITY t[] = {{{81, 28}, 0, 0}, {{81, 128}, 500, 0}};
    NeedleTable table = NeedleTable::build(t, 2, {81, 78});
    EXPECT_DOUBLE_EQ(t[0].degrees, 270.0);  // directions written back into the entries
    EXPECT_DOUBLE_EQ(t[1].degrees, 90.0);
    EXPECT_DOUBLE_EQ(table.map(0), 270.0);     // at the first entry
    EXPECT_DOUBLE_EQ(table.map(250), 360.0);   // between: a quarter turn on
    EXPECT_DOUBLE_EQ(table.map(500), 450.0);   // at the last entry: a half turn clockwise
    EXPECT_DOUBLE_EQ(table.map(1250), 720.0);  // above: two and a half half-turns on, 3 o'clock
    EXPECT_DOUBLE_EQ(wrapped(table.map(1250)), 0.0);
    EXPECT_DOUBLE_EQ(table.map(-250), 180.0);  // below: carried on backwards
    EXPECT_DOUBLE_EQ(wrapped(table.map(12345)), wrapped(270.0 + 12345 * 180.0 / 500.0));
}

TEST(NeedleTable, EndEntriesSharingAPointHoldTheNeedle) {
    // The airspeed table's ends: 0 and 20 kt on one mark, 220 and 220 kt on another.
    NONLINEARITY t[] = {{{160, 38}, 0, 0},  {{160, 38}, 20, 0},  {{178, 37}, 25, 0},
                        {{97, 56}, 220, 0}, {{97, 56}, 220, 0}};
    NeedleTable table = NeedleTable::build(t, 5, {149, 149});
    const double mark20 = table.map(20);
    EXPECT_DOUBLE_EQ(table.map(10), mark20);    // between the shared entries
    EXPECT_DOUBLE_EQ(table.map(-50), mark20);   // below the table
    const double mark220 = table.map(220);
    EXPECT_DOUBLE_EQ(table.map(250), mark220);  // above: stays on the 220 mark
    EXPECT_DOUBLE_EQ(table.map(1e9), mark220);
    EXPECT_GT(mark220, mark20);                 // the sweep between runs clockwise
    EXPECT_DOUBLE_EQ(wrapped(mark220), t[3].degrees);
}

TEST(NeedleTable, DescendingTables) {
    // The altimeter knob: 1013 mb to the right of the pivot, 1070 mb to the left.
    NONLINEARITY t[] = {{{34, 136}, 1013, 0}, {{8, 136}, 1070, 0}};
    NeedleTable up = NeedleTable::build(t, 2, {21, 136});
    // The same marks in descending order turn the same way for the same value.
    NONLINEARITY d[] = {{{8, 136}, 1070, 0}, {{34, 136}, 1013, 0}};
    NeedleTable down = NeedleTable::build(d, 2, {21, 136});
    EXPECT_DOUBLE_EQ(wrapped(down.map(1070)), 180.0);
    EXPECT_DOUBLE_EQ(wrapped(down.map(1013)), 0.0);
    // From 1070 down to 1013 the descending table turns clockwise.
    EXPECT_DOUBLE_EQ(down.map(1013) - down.map(1070), 180.0);
    EXPECT_DOUBLE_EQ(up.map(1070) - up.map(1013), 180.0);
    EXPECT_DOUBLE_EQ(down.map(1041.5) - down.map(1070), 90.0);  // between
    EXPECT_DOUBLE_EQ(down.map(956) - down.map(1070), 360.0);    // beyond the low end
}

TEST(NeedleTable, EntriesBetweenOppositePointsTurnAHalfTurnClockwise) {
    // The vertical speed table around zero: 9 o'clock sits between its two points.
    NONLINEARITY t[] = {{{35, 108}, -650.24, 0}, {{35, 47}, 650.24, 0}};
    NeedleTable table = NeedleTable::build(t, 2, {78, 78});
    EXPECT_NEAR(wrapped(table.map(0)), 180.0, 0.6);
    // Opposite points: 12 o'clock to 6 o'clock goes through 3 o'clock, not 9.
    NONLINEARITY o[] = {{{50, 0}, 0, 0}, {{50, 100}, 1, 0}};
    NeedleTable half = NeedleTable::build(o, 2, {50, 50});
    EXPECT_DOUBLE_EQ(wrapped(half.map(0.5)), 0.0);
    // Points the other way round: 6 o'clock to 12 o'clock goes through 9.
    NONLINEARITY r[] = {{{50, 100}, 0, 0}, {{50, 0}, 1, 0}};
    NeedleTable back = NeedleTable::build(r, 2, {50, 50});
    EXPECT_DOUBLE_EQ(wrapped(back.map(0.5)), 180.0);
}

TEST(NeedleTable, NaNGivesNaN) {
    NONLINEARITY t[] = {{{81, 28}, 0, 0}, {{81, 128}, 500, 0}};
    EXPECT_TRUE(std::isnan(NeedleTable::build(t, 2, {81, 78}).map(NAN)));
}

TEST(NeedleTable, TablesTheHostCannotUseAreRefusedWithTheirRow) {
    auto row_of = [](NONLINEARITY* t, uint32_t n, PIXPOINT pivot) {
        try {
            NeedleTable::build(t, n, pivot);
        } catch (const tarn::TableError& e) {
            return e.row;
        }
        return -1;
    };
    NONLINEARITY one[] = {{{1, 1}, 0, 0}};
    EXPECT_EQ(row_of(one, 1, {0, 0}), 0);  // fewer than two entries
    NONLINEARITY flat[] = {{{1, 1}, 5, 0}, {{2, 1}, 5, 0}};
    EXPECT_EQ(row_of(flat, 2, {0, 0}), 0);  // all values equal
    NONLINEARITY zigzag[] = {{{1, 1}, 0, 0}, {{2, 1}, 5, 0}, {{3, 1}, 2, 0}};
    EXPECT_EQ(row_of(zigzag, 3, {0, 0}), 3);  // not in one order
    NONLINEARITY pivot[] = {{{1, 1}, 0, 0}, {{0, 0}, 5, 0}};
    EXPECT_EQ(row_of(pivot, 2, {0, 0}), 2);  // a point on the pivot gives no direction
    NONLINEARITY inf[] = {{{1, 1}, 0, 0}, {{2, 1}, INFINITY, 0}};
    EXPECT_EQ(row_of(inf, 2, {0, 0}), 2);
    EXPECT_EQ(row_of(nullptr, 2, {0, 0}), 0);
}

}  // namespace
