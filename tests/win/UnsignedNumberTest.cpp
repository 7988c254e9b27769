// What a number field accepts: decimal digits with blanks around them, up to 4294967295.

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "win/UnsignedNumber.h"

using namespace std::literals;

// Refused: nothing but blanks, signs, overflow (2^64 wraps to 0 in 64 bits), other characters,
// full-width digits, a blank that is not one of ours and an embedded null.
TEST(UnsignedNumber, AcceptsOnlyBlankPaddedDigitsThatFit) {
    const std::pair<std::wstring_view, std::uint32_t> accepted[] = {
        {L"0", 0u}, {L"007", 7u}, {L" \t42\r\n", 42u}, {L"4294967295", 4294967295u}};
    for (const auto& [text, value] : accepted) {
        EXPECT_EQ(ParseUnsignedNumber(text), value);
    }
    for (const std::wstring_view text :
         {L""sv, L" \t"sv, L"-1"sv, L"+1"sv, L"4294967296"sv, L"18446744073709551616"sv, L"12a"sv,
          L"1 2"sv, L"0x10"sv, L"\uFF11\uFF12"sv, L"\u00A042"sv, L"12\0003"sv}) {
        EXPECT_FALSE(ParseUnsignedNumber(text)) << testing::PrintToString(std::wstring(text));
    }
}
