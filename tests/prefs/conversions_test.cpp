#include "prefs/Conversions.h"

#include <gtest/gtest.h>

#include <tuple>

namespace farsend {

// Each stored text read both ways: as a Boolean word and as a 16-bit number.
TEST(Conversions, ReadStoredTexts) {
    const std::nullopt_t no = std::nullopt;
    const std::tuple<std::string_view, std::optional<bool>, std::optional<std::int16_t>> cases[] = {
        {"True", true, no},     {"false", false, no}, {"tRuE", true, no}, {" True", no, no},
        {"Truex", no, no},      {"", no, no},         {"1", no, 1},       {"-1", no, -1},
        {"+7", no, 7},          {"007", no, 7},       {" 2\t", no, 2},    {"32767", no, 32767},
        {"-32768", no, -32768}, {"32768", no, no},    {"-32769", no, no}, {"99999999999999999999", no, no},
        {"-", no, no},          {"1.5", no, no},      {"0x10", no, no},   {"1 2", no, no},
        {"--1", no, no},
    };
    for (const auto& [text, boolean, number] : cases)
        EXPECT_EQ(std::tuple(toBoolean(text), toInteger16(text)), std::tuple(boolean, number)) << '"' << text << '"';
}

}  // namespace farsend
