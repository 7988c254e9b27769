#pragma once
// The terminator image painted the slow, literal way, for comparison only: every night sample
// read from the night bitmap and stroked onto the output through GDI+ with a recoloured pen.

#include <windows.h>

#include <string>

class SettingsStore;

void RenderTerminatorImageWithStrokes(const std::wstring& outputPath, SettingsStore& settings,
                                      const SYSTEMTIME& utc);
