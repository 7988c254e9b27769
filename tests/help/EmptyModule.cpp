// A module that exports nothing: a recorded viewer path that loads but has no HtmlHelpW.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
    return TRUE;
}
