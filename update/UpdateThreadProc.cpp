#include "update/UpdateThreadProc.h"

#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"

unsigned UpdateThreadProc(void* settings) {
    ComposeWallpaper(*static_cast<SettingsStore*>(settings));
    return 0;
}
