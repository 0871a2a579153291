// Choosing the message catalogue from the locale.
#include "cli/ToolLanguage.h"

#include <QByteArray>
#include <QtGlobal>

namespace mGlyfora {

bool JapaneseMessages() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray locale = qgetenv(name);
        if (locale.isEmpty())
            continue;
        return locale == "ja" || locale.startsWith("ja_") || locale.startsWith("ja.") ||
               locale.startsWith("ja@");
    }
    return false;
}

QString ToolCatalogue() {
    return JapaneseMessages() ? QStringLiteral(":/i18n/glyfora-convert_ja.qm")
                              : QStringLiteral(":/i18n/glyfora-convert_en.qm");
}

} // namespace mGlyfora
