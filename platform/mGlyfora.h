// Process-wide values of the program, alive for the whole run.
#pragma once

#include "platform/SettingsTable.h"

#include <QString>
#include <array>

namespace mGlyfora {

inline const QString ApplicationTitle = QStringLiteral("glyfora");

// Entries 0 to RecentFilesLimit - 1 usable; one more receives the overflow.
inline constexpr int RecentFilesSlots = platform::RecentFilesLimit + 1;

inline QString OpenDirectory; // where the open dialogs start
inline QString SaveDirectory; // where the save dialogs start
inline qint16 RecentFilesMax = platform::RecentFilesDefault;
inline std::array<QString, RecentFilesSlots> RecentFilesList;
inline QString HelpFilePath;
inline QString ImageBaseName; // current picture's name without folder and extension

} // namespace mGlyfora
