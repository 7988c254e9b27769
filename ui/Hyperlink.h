#pragma once
// A static text control that acts as a web link: its text, drawn blue and underlined, is the
// address that a click opens. The text is read afresh for every paint and every click, so a
// changed text changes both what is shown and what is opened.

#include <windows.h>

// Makes a static control a link. The control needs SS_NOTIFY, or mouse input falls through to
// its parent. From then on the control's user-data slot holds its previous window procedure, so
// the slot must not be used for anything else. Calling it again on a link changes nothing.
void MakeHyperlink(HWND control) noexcept;

LRESULT CALLBACK HyperlinkWndProc(HWND control, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept;

// Opens a link's address. The program's opener hands the address to the shell; tests put a
// recorder in its place. Returns the opener that was in use.
using LinkOpener = void (*)(HWND control, const wchar_t* address);
LinkOpener ReplaceLinkOpener(LinkOpener opener) noexcept;
