#pragma once
// The solar routines carry their intermediate arithmetic in the widest floating type the compiler
// offers (80-bit on x86 Linux and on both MinGW targets) and round to double only where a value
// is kept as a double.

namespace solar {

using Extended = long double;

// Rounds to double for real. On 32-bit x87 builds an ordinary conversion may be left in an
// 80-bit register; a store through volatile memory cannot be.
inline double StoreDouble(Extended value) noexcept {
    volatile double stored = static_cast<double>(value);
    return stored;
}

} // namespace solar
