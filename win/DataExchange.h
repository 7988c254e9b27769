#pragma once
// Moves a dialog's member values into its controls or back out of them. A dialog lists its
// bindings once, in a fixed order, and the same list serves both directions. Reading stops at
// the first field that does not hold a valid value: that member keeps its value, the user is
// told, the field gets the focus with its text selected, and later bindings are skipped.

#include <windows.h>

#include <cstdint>
#include <string>

enum class ExchangeDirection { ToControls, FromControls };

class DataExchange {
public:
    DataExchange(HWND dialog, ExchangeDirection direction) noexcept
        : dialog(dialog), direction(direction) {}

    // The control's window text.
    void Text(int controlId, std::wstring& value);
    // A check box: 1 checked, 0 otherwise (only the value 1 checks the box).
    void Check(int controlId, int& value);
    // An unsigned decimal number in an edit control.
    void Number(int controlId, std::uint32_t& value);

    bool Failed() const noexcept { return failed; }
    bool ReadsControls() const noexcept { return direction == ExchangeDirection::FromControls; }

private:
    // Null when the exchange has already failed or the template lacks the control; a missing
    // control leaves its member as it is.
    HWND Control(int controlId) const noexcept;
    void RejectNumber(HWND control);

    HWND dialog;
    ExchangeDirection direction;
    bool failed = false;
};

// The title of the message boxes that the exchange shows: the program's name, handed over once
// at start-up. The text is not copied and must last the whole run.
void SetMessageTitle(const wchar_t* title) noexcept;

// The text every number field shows when its content is not a valid number.
inline constexpr wchar_t kBadNumberMessage[] = L"Please enter a positive whole number.";
