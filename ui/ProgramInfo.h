#pragma once
// Texts the program shows about itself.

inline constexpr wchar_t kProgramTitle[] = L"Pembrix Gloamery";
inline constexpr wchar_t kProgramVersion[] = L"1.11";
inline constexpr wchar_t kCopyrightLine[] = L"Copyright \u00A9 2026 Pembrix Software";
inline constexpr wchar_t kHomePageAddress[] = L"http://www.pembrix.example/";
inline constexpr wchar_t kMoreImagesAddress[] =
    L"http://www.pembrix.example/products/gloamery/more.asp";
