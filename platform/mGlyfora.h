// Process-wide values of the program, alive for the whole run.
#pragma once

#include "platform/SettingsTable.h"

#include <QString>
#include <array>

namespace mGlyfora {

inline const QString ApplicationTitle = QStringLiteral("glyfora");

// Entries 0 to RecentFilesLimit - 1 usable; one more receives the overflow.
inline constexpr int RecentFilesSlots = platform::RecentFilesLimit + 1;

// Held together so that a fresh start (the tests' reset) is one assignment.
struct PlatformValues {
    QString OpenDirectory; // where the open dialogs start
    QString SaveDirectory; // where the save dialogs start
    qint16 RecentFilesMax = platform::RecentFilesDefault;
    std::array<QString, RecentFilesSlots> RecentFilesList;
    QString HelpFilePath;
    QString ImageBaseName; // current picture's name without folder and extension
};
inline PlatformValues ProcessPlatform;

inline QString& OpenDirectory = ProcessPlatform.OpenDirectory;
inline QString& SaveDirectory = ProcessPlatform.SaveDirectory;
inline qint16& RecentFilesMax = ProcessPlatform.RecentFilesMax;
inline std::array<QString, RecentFilesSlots>& RecentFilesList = ProcessPlatform.RecentFilesList;
inline QString& HelpFilePath = ProcessPlatform.HelpFilePath;
inline QString& ImageBaseName = ProcessPlatform.ImageBaseName;

} // namespace mGlyfora
