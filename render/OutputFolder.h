#pragma once
// The folder that holds the program's two pictures: the user's local (non-roaming)
// application-data folder, then "Pembrix Software", then "Gloamery".

#include <string>

// Fills folder with the output folder's path, creating its two sub-folders when they are
// missing (a failed creation shows up later as a failed save). Returns false when the shell
// does not report the application-data folder or the path would not fit in MAX_PATH.
bool GetOutputFolder(std::wstring& folder);

// The full path of fileName in the output folder, or fileName unchanged (a file in the current
// directory) when the output folder is not available.
std::wstring MakeOutputPath(const std::wstring& fileName);
