// The program's start: process set-up, settings, and the main window.
#pragma once

#include <QString>
#include <memory>

class QApplication;
class frmMain;

namespace platform {
class Dialogs;
class SettingsStore;
} // namespace platform

namespace mGlyfora {

// Japanese standard dialog texts and the fonts the program names.
void PrepareApplication(QApplication& app);

// Fixes the help file, loads the settings and shows the main window, which opens the
// picture named on the command line (empty for none).
std::unique_ptr<frmMain> Main(platform::Dialogs& dialogs, platform::SettingsStore& store,
                              const QString& commandLinePath);

} // namespace mGlyfora
