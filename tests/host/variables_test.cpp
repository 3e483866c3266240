// The variable store: kinds per token, stable slots, conversions at the edges.
#include "host/core/variables.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using tarn::VariableStore;

TEST(VariableStore, TokensDeliverTheirKind) {
    VariableStore v;
    EXPECT_EQ(VariableStore::kind_of(390), VAR_KIND_FLOAT64);
    for (uint32_t t : {52u, 279u, 282u, 285u, 355u}) EXPECT_EQ(VariableStore::kind_of(t), VAR_KIND_INT32) << t;
    EXPECT_EQ(VariableStore::kind_of(839), VAR_KIND_TEXT);

    VAR_VALUE out;
    v.set_number(390, 2400.5);
    v.fill(v.slot_of(390), out);
    EXPECT_EQ(out.n, 2400.5);
    v.set_number(355, -7.9);  // integers truncate toward zero
    v.fill(v.slot_of(355), out);
    EXPECT_EQ(out.d, -7);
    EXPECT_EQ(v.number(355), -7.0);
    EXPECT_TRUE(v.set_text(839, "KSEA"));
    v.fill(v.slot_of(839), out);
    EXPECT_STREQ(out.p, "KSEA");
    EXPECT_FALSE(v.set_number(839, 1.0));  // the other sort of value is refused
    EXPECT_FALSE(v.set_text(390, "x"));
}

TEST(VariableStore, IntegersAreHeldToTheirRange) {
    VariableStore v;
    v.set_number(52, 1e12);
    EXPECT_EQ(v.number(52), 2147483647.0);
    v.set_number(52, -1e12);
    EXPECT_EQ(v.number(52), -2147483648.0);
    v.set_number(52, NAN);
    EXPECT_EQ(v.number(52), 0.0);
}

TEST(VariableStore, SlotsStayPutAndLargeTokensWork) {
    VariableStore v;
    const int32_t a = v.slot_of(390);
    v.set_text(839, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    VAR_VALUE text;
    v.fill(v.slot_of(839), text);
    for (uint32_t t = 1; t < 3000; ++t) v.slot_of(t);  // many new slots
    v.slot_of(0x10000000);
    EXPECT_EQ(v.slot_of(390), a);
    EXPECT_STREQ(text.p, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");  // handed-out text still valid
    v.set_number(0x10000000, 3.0);
    EXPECT_EQ(v.number(0x10000000), 3.0);
}

TEST(VariableStore, LookupFillsTheValueAndKeepsTheOldOne) {
    VariableStore v;
    MODULE_VAR m = {390};
    v.set_number(390, 1.0);
    v.lookup(m);
    v.set_number(390, 2.0);
    v.lookup(m);
    EXPECT_EQ(m.var_value.n, 2.0);
    EXPECT_EQ(m.var_old.n, 1.0);
    v.reset();
    v.lookup(m);
    EXPECT_EQ(m.var_value.n, 0.0);
}

}  // namespace
