// What a number field accepts.

#include <gtest/gtest.h>

#include <utility>

#include "win/UnsignedNumber.h"

namespace {

TEST(UnsignedNumber, AcceptsDigitsWithSurroundingBlanks) {
    const std::pair<const wchar_t*, std::uint32_t> accepted[] = {
        {L"0", 0u},
        {L"42", 42u},
        {L"007", 7u},
        {L" \t42\r\n", 42u},
        {L"4294967295", 4294967295u},
        {L"00000000000000000000001", 1u},
    };
    for (const auto& [text, value] : accepted) {
        const auto parsed = ParseUnsignedNumber(text);
        ASSERT_TRUE(parsed.has_value()) << "rejected: " << testing::PrintToString(text);
        EXPECT_EQ(*parsed, value);
    }
}

TEST(UnsignedNumber, RejectsEverythingElse) {
    const wchar_t* rejected[] = {
        L"",
        L"  \t",
        L"-1",
        L"+1",
        L"-0",
        L"4294967296",
        L"18446744073709551616",
        L"99999999999999999999",
        L"12a",
        L"1 2",
        L"0x10",
        L"1.5",
        L"1e3",
        L"\uFF11\uFF12", // full-width digits
        L"\u00A042",     // a blank that is not one of ours
    };
    for (const wchar_t* text : rejected) {
        EXPECT_FALSE(ParseUnsignedNumber(text).has_value())
            << "accepted: " << testing::PrintToString(std::wstring(text));
    }
}

TEST(UnsignedNumber, StopsAtNoEmbeddedNull) {
    EXPECT_FALSE(ParseUnsignedNumber(std::wstring_view(L"12\0"
                                                       L"3",
                                                       4))
                     .has_value());
}

} // namespace
