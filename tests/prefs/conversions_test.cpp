#include "prefs/Conversions.h"

#include <gtest/gtest.h>

namespace farsend {

struct BoolCase {
    const char* text;
    std::optional<bool> value;
};

class ToBooleanTest : public ::testing::TestWithParam<BoolCase> {};

TEST_P(ToBooleanTest, ReadsTheTwoWordsInAnyCase) { EXPECT_EQ(toBoolean(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Conversions, ToBooleanTest,
                         ::testing::Values(BoolCase{"True", true}, BoolCase{"False", false}, BoolCase{"TRUE", true},
                                           BoolCase{"false", false}, BoolCase{"tRuE", true}, BoolCase{"", std::nullopt},
                                           BoolCase{"1", std::nullopt}, BoolCase{"-1", std::nullopt},
                                           BoolCase{"0", std::nullopt}, BoolCase{" True", std::nullopt},
                                           BoolCase{"Truex", std::nullopt}, BoolCase{"Tru", std::nullopt},
                                           BoolCase{"Yes", std::nullopt}));

TEST(FromBoolean, WritesTheWords) {
    EXPECT_EQ(fromBoolean(true), "True");
    EXPECT_EQ(fromBoolean(false), "False");
    EXPECT_EQ(toBoolean(fromBoolean(true)), true);
    EXPECT_EQ(toBoolean(fromBoolean(false)), false);
}

struct IntCase {
    const char* text;
    std::optional<std::int16_t> value;
};

class ToInteger16Test : public ::testing::TestWithParam<IntCase> {};

TEST_P(ToInteger16Test, ReadsDecimalIn16Bits) { EXPECT_EQ(toInteger16(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Conversions, ToInteger16Test,
                         ::testing::Values(IntCase{"1", 1}, IntCase{"0", 0}, IntCase{"-1", -1}, IntCase{"+7", 7},
                                           IntCase{"007", 7}, IntCase{" 2\t", 2}, IntCase{"32767", 32767},
                                           IntCase{"-32768", -32768}, IntCase{"32768", std::nullopt},
                                           IntCase{"-32769", std::nullopt},
                                           IntCase{"99999999999999999999", std::nullopt}, IntCase{"", std::nullopt},
                                           IntCase{"-", std::nullopt}, IntCase{" ", std::nullopt},
                                           IntCase{"True", std::nullopt}, IntCase{"1.5", std::nullopt},
                                           IntCase{"1e3", std::nullopt}, IntCase{"0x10", std::nullopt},
                                           IntCase{"1 2", std::nullopt}, IntCase{"--1", std::nullopt}));

TEST(FromInteger, WritesPlainDecimal) {
    EXPECT_EQ(fromInteger(1), "1");
    EXPECT_EQ(fromInteger(0), "0");
    EXPECT_EQ(fromInteger(-32768), "-32768");
}

}  // namespace farsend
