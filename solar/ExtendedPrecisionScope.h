#pragma once
// Holds the x87 unit at 64-bit precision for a scope. The solar model carries its intermediates
// in 80-bit extended precision, but Windows starts every thread but the main one with the x87
// unit rounding to 53 bits, which would quietly cut that short on a worker. The caller's
// setting comes back on leaving. Elsewhere there is no x87 unit and the scope does nothing.

namespace solar {

#if defined(__i386__) || defined(__x86_64__)
inline unsigned short X87ControlWord() noexcept {
    unsigned short control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    return control;
}
inline void SetX87ControlWord(unsigned short control) noexcept {
    __asm__ volatile("fldcw %0" : : "m"(control));
}
#else
inline unsigned short X87ControlWord() noexcept {
    return 0;
}
inline void SetX87ControlWord(unsigned short) noexcept {}
#endif

class ExtendedPrecisionScope {
public:
    ExtendedPrecisionScope() noexcept : saved(X87ControlWord()) {
        SetX87ControlWord(saved | kPrecisionControl64);
    }
    ~ExtendedPrecisionScope() { SetX87ControlWord(saved); }
    ExtendedPrecisionScope(const ExtendedPrecisionScope&) = delete;
    ExtendedPrecisionScope& operator=(const ExtendedPrecisionScope&) = delete;

private:
    // Precision control, bits 8 and 9 of the control word: both set is 64 bits.
    static constexpr unsigned short kPrecisionControl64 = 0x0300;
    unsigned short saved = 0;
};

} // namespace solar
