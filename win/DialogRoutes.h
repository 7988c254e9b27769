#pragma once
// The tables through which a dialog hands its commands and window messages to its handlers.
//
//   std::span<const CommandRoute> EditDialog::Commands() const {
//       static constexpr CommandRoute routes[] = {
//           {IDC_BROWSE_MAIN, BN_CLICKED, CommandHandler<&EditDialog::OnBrowse>},
//           {ID_HELP, BN_CLICKED, CommandHandler<&EditDialog::OnHelpTopic>},
//       };
//       return routes;
//   }
//   std::span<const MessageRoute> EditDialog::Messages() const {
//       static constexpr MessageRoute routes[] = {
//           {WM_TIMER, MessageHandler<&EditDialog::OnTimer>},
//       };
//       return routes;
//   }
//
// A command route matches its control id and notification code both, so that BN_SETFOCUS or
// EN_CHANGE never run a click handler. Menu items and accelerator keys send no control and
// count as code 0, which is BN_CLICKED and STN_CLICKED: a key and a click share one route.
//
// Message handlers may take these shapes:
//   void OnDestroy()                     handled, result 0
//   void OnTimer(WPARAM id)              handled, result 0 (UINT_PTR is WPARAM)
//   bool OnPaint()                       handled when it returns true
//   bool OnSysCommand(WPARAM, LPARAM)    handled when it returns true
//   LRESULT OnQueryDragIcon()            handled with that result
//   LRESULT OnSomething(WPARAM, LPARAM)  handled with that result
//   std::optional<LRESULT> OnAnything(WPARAM, LPARAM)
// A message that is not handled goes on to the system's default dialog processing.

#include <windows.h>

#include <optional>

class Dialog;

using MessageResult = std::optional<LRESULT>;

struct CommandRoute {
    int id;
    int code;
    void (*handler)(Dialog& dialog);
};

struct MessageRoute {
    UINT message;
    MessageResult (*handler)(Dialog& dialog, WPARAM wParam, LPARAM lParam);
};

namespace route_detail {

// Handlers may be declared noexcept; the shapes below are written without it.
template <typename Method> struct PlainMethod { using Type = Method; };
template <typename Result, typename Owner, typename... Args>
struct PlainMethod<Result (Owner::*)(Args...) noexcept> {
    using Type = Result (Owner::*)(Args...);
};

template <typename Method> struct MessageShape;

template <typename Owner> struct MessageShape<void (Owner::*)()> {
    using Class = Owner;
    template <auto method> static MessageResult Call(Owner& owner, WPARAM, LPARAM) {
        (owner.*method)();
        return 0;
    }
};

template <typename Owner> struct MessageShape<void (Owner::*)(WPARAM)> {
    using Class = Owner;
    template <auto method> static MessageResult Call(Owner& owner, WPARAM wParam, LPARAM) {
        (owner.*method)(wParam);
        return 0;
    }
};

template <typename Owner> struct MessageShape<bool (Owner::*)()> {
    using Class = Owner;
    template <auto method> static MessageResult Call(Owner& owner, WPARAM, LPARAM) {
        return (owner.*method)() ? MessageResult(0) : std::nullopt;
    }
};

template <typename Owner> struct MessageShape<bool (Owner::*)(WPARAM, LPARAM)> {
    using Class = Owner;
    template <auto method> static MessageResult Call(Owner& owner, WPARAM wParam, LPARAM lParam) {
        return (owner.*method)(wParam, lParam) ? MessageResult(0) : std::nullopt;
    }
};

template <typename Owner> struct MessageShape<LRESULT (Owner::*)()> {
    using Class = Owner;
    template <auto method> static MessageResult Call(Owner& owner, WPARAM, LPARAM) {
        return (owner.*method)();
    }
};

template <typename Owner> struct MessageShape<LRESULT (Owner::*)(WPARAM, LPARAM)> {
    using Class = Owner;
    template <auto method> static MessageResult Call(Owner& owner, WPARAM wParam, LPARAM lParam) {
        return (owner.*method)(wParam, lParam);
    }
};

template <typename Owner> struct MessageShape<MessageResult (Owner::*)(WPARAM, LPARAM)> {
    using Class = Owner;
    template <auto method> static MessageResult Call(Owner& owner, WPARAM wParam, LPARAM lParam) {
        return (owner.*method)(wParam, lParam);
    }
};

template <typename Method> struct CommandShape;

template <typename Owner> struct CommandShape<void (Owner::*)()> { using Class = Owner; };

} // namespace route_detail

// The handler of a command route: runs a member function of the dialog class that owns the
// table.
template <auto method> void CommandHandler(Dialog& dialog) {
    using Plain = typename route_detail::PlainMethod<decltype(method)>::Type;
    using Owner = typename route_detail::CommandShape<Plain>::Class;
    (static_cast<Owner&>(dialog).*method)();
}

// The handler of a message route: runs a member function of one of the shapes above.
template <auto method> MessageResult MessageHandler(Dialog& dialog, WPARAM wParam, LPARAM lParam) {
    using Plain = typename route_detail::PlainMethod<decltype(method)>::Type;
    using Shape = route_detail::MessageShape<Plain>;
    using Owner = typename Shape::Class;
    return Shape::template Call<method>(static_cast<Owner&>(dialog), wParam, lParam);
}
