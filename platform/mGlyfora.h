// Process-wide values of the program, alive for the whole run.
#pragma once

#include <QString>
#include <array>

namespace mGlyfora {

inline const QString ApplicationTitle = QStringLiteral("glyfora");

inline constexpr int RecentFilesSlots = 21; // entries 0..19 usable, 20 receives the overflow

inline QString OpenDirectory; // where the open dialogs start
inline QString SaveDirectory; // where the save dialogs start
inline qint16 RecentFilesMax = 4;
inline std::array<QString, RecentFilesSlots> RecentFilesList;
inline QString HelpFilePath;
inline QString ImageBaseName; // current picture's name without folder and extension

} // namespace mGlyfora
