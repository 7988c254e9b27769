// What a number field accepts: decimal digits with blanks around them, up to 4294967295.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "win/UnsignedNumber.h"

namespace {

using namespace std::literals;

TEST(UnsignedNumber, AcceptsOnlyBlankPaddedDigitsThatFit) {
    const std::pair<std::wstring_view, std::uint32_t> accepted[] = {
        {L"0", 0u},
        {L"007", 7u},
        {L" \t42\r\n", 42u},
        {L"4294967295", 4294967295u},
        {L"00000000000000000000001", 1u}};
    for (const auto& [text, value] : accepted) {
        EXPECT_EQ(ParseUnsignedNumber(text), value) << testing::PrintToString(std::wstring(text));
    }
    // Blanks only, signs, overflow (2^64 wraps to 0 in 64 bits), other characters, full-width
    // digits, a blank that is not one of ours and an embedded null.
    const std::wstring_view rejected[] = {
        L"",    L"  \t", L"-1",   L"+1",  L"-0",           L"4294967296", L"18446744073709551616",
        L"12a", L"1 2",  L"0x10", L"1.5", L"\uFF11\uFF12", L"\u00A042",   L"12\0003"sv};
    for (const std::wstring_view text : rejected) {
        EXPECT_FALSE(ParseUnsignedNumber(text)) << testing::PrintToString(std::wstring(text));
    }
}

} // namespace
