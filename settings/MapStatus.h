#pragma once
// What the last update made of its maps, for the settings window to tell the user: nothing when
// they could be used, otherwise which file and what is wrong with it.

#include <string>

enum class MapProblem { none, notFound, unreadable, tooLarge };

struct MapStatus {
    MapProblem problem = MapProblem::none;
    std::wstring file;

    friend bool operator==(const MapStatus&, const MapStatus&) = default;
};
