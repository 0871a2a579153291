// Reading and writing the process-wide settings (conversion, HTML templates, the two
// dialog folders and the recent-files maximum).
#pragma once

namespace platform {
class SettingsStore;
}

namespace mGlyfora {

void LoadSettings(platform::SettingsStore& store);
void SaveSettings(platform::SettingsStore& store);

} // namespace mGlyfora
