#pragma once
// Finding an installed GDI+ image encoder by MIME type.

#include <windows.h>

// Walks the installed encoders in order; the first whose MIME type equals mimeType exactly
// (case-sensitive, whole string) gives its class identifier to clsid and its index is returned.
// Returns -1, leaving clsid unchanged, when there is no such encoder or the list can't be read.
int GetEncoderClsid(const wchar_t* mimeType, CLSID& clsid) noexcept;
