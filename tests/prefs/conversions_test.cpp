#include "prefs/Conversions.h"

#include <gtest/gtest.h>

namespace farsend {

// Each stored text read both ways: as a Boolean word and as a 16-bit number.
TEST(Conversions, ReadStoredTexts) {
    const std::nullopt_t no = std::nullopt;
    struct Case {
        const char* text;
        std::optional<bool> boolean;
        std::optional<std::int16_t> number;
    } cases[] = {
        {"True", true, no}, {"false", false, no}, {"tRuE", true, no},
        {" True", no, no},  {"Truex", no, no},    {"Yes", no, no},
        {"", no, no},       {"1", no, 1},         {"-1", no, -1},
        {"0", no, 0},       {"+7", no, 7},        {"007", no, 7},
        {" 2\t", no, 2},    {"32767", no, 32767}, {"-32768", no, -32768},
        {"32768", no, no},  {"-32769", no, no},   {"99999999999999999999", no, no},
        {"-", no, no},      {"1.5", no, no},      {"1e3", no, no},
        {"0x10", no, no},   {"1 2", no, no},      {"--1", no, no},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toBoolean(c.text), c.boolean) << '"' << c.text << '"';
        EXPECT_EQ(toInteger16(c.text), c.number) << '"' << c.text << '"';
    }
    EXPECT_EQ(fromBoolean(true) + fromBoolean(false), "TrueFalse");
    EXPECT_EQ(fromInteger(1) + "," + fromInteger(-32768), "1,-32768");
}

}  // namespace farsend
