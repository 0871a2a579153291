// The recent-files list: newest first, duplicates moved to the front.
#pragma once

#include "platform/mGlyfora.h"

#include <QString>
#include <array>

namespace mGlyfora {

// Puts the path in front of the first `max` entries; a duplicate among them moves to the
// front, otherwise entry max - 1 is pushed out to index max.
void AddRecentPath(std::array<QString, RecentFilesSlots>& list, int max, const QString& path);

// Menu caption of entry index (0-based): "&" + (index + 1) + " " + path.
QString RecentCaption(int index, const QString& path);

} // namespace mGlyfora
