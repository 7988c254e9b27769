#pragma once
// Reading an unsigned decimal number out of a text field. Kept free of windows.h so that the
// rules can be checked on any machine.

#include <cstdint>
#include <optional>
#include <string_view>

// Accepts decimal digits, optionally surrounded by blanks (space, tab, line breaks), whose value
// lies in 0..4294967295. Anything else, a sign included, gives no value.
std::optional<std::uint32_t> ParseUnsignedNumber(std::wstring_view text);
