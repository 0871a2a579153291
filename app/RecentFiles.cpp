// Recent-files list order.
#include "app/RecentFiles.h"

namespace mGlyfora {

void AddRecentPath(std::array<QString, RecentFilesSlots>& list, int max, const QString& path) {
    max = qBound(0, max, platform::RecentFilesLimit);
    const std::array<QString, RecentFilesSlots> before = list;
    int duplicate = -1;
    for (int i = 0; i < max; ++i) {
        if (before[i] == path)
            duplicate = i;
    }
    list[0] = path;
    int j = 1;
    for (int i = 0; i < max; ++i) {
        if (i != duplicate)
            list[j++] = before[i];
    }
}

QString RecentCaption(int index, const QString& path) {
    return u'&' + QString::number(index + 1) + u' ' + path;
}

} // namespace mGlyfora
