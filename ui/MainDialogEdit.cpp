// "&Edit": the custom settings dialog on a copy of the settings; OK stores them all and asks
// for an update at once.

#include "ui/CustomSettingsDialog.h"
#include "ui/MainDialog.h"

void MainDialog::OnEditCustomSettings() {
    CustomSettingsDialog dialog(Window());
    dialog.disabled = settings.GetDisabled();
    dialog.skipFirstUpdate = settings.GetNoBootUpdate();
    dialog.dayAndNight = settings.GetTerminator();
    settings.GetSrcImgPath(dialog.mainImagePath);
    settings.GetSrc2ImgPath(dialog.nightImagePath);
    // Numbers round-trip through their 32 bits: a stored -1 shows as 4294967295.
    dialog.noonPixel = static_cast<std::uint32_t>(settings.GetNoonPixel());
    dialog.updateFreqMins = static_cast<std::uint32_t>(settings.GetUpdateFreqMins());

    if (dialog.DoModal() == IDOK) {
        settings.SetDisabled(dialog.disabled);
        settings.SetSrcImgPath(dialog.mainImagePath);
        settings.SetSrc2ImgPath(dialog.nightImagePath);
        settings.SetTerminator(dialog.dayAndNight);
        settings.SetNoBootUpdate(dialog.skipFirstUpdate);
        settings.SetNoonPixel(static_cast<int>(dialog.noonPixel));
        settings.SetUpdateFreqMins(static_cast<int>(dialog.updateFreqMins));
        settings.Save();
        scheduler.StartUpdate();
    }
    scheduler.EnableUpdateButton();
}
