// SettingsStore over QSettings in INI form.
#include "platform/SettingsStore.h"

#include "platform/FileNames.h"

#include <QLibraryInfo>
#include <QStandardPaths>
#include <QStringList>
#include <sys/stat.h>

namespace platform {

SettingsFiles CheckSettingsFiles() {
    SettingsFiles found = SettingsFiles::None;
    for (const QString& folder :
         {QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
          QLibraryInfo::path(QLibraryInfo::SettingsPath)}) {
        for (const char* name : {"/glyfora/glyfora.ini", "/glyfora.ini"}) {
            struct stat info;
            // A file that cannot be reached is one the store cannot read either.
            if (::stat(EncodeFileName(folder + QLatin1String(name)).constData(), &info) != 0)
                continue;
            if (!S_ISREG(info.st_mode))
                return SettingsFiles::Unusable;
            found = SettingsFiles::Regular;
        }
    }
    return found;
}

SettingsStore::SettingsStore()
    : settings_(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("glyfora"),
                QStringLiteral("glyfora")) {}

QString SettingsStore::KeyPath(const QString& section, const QString& key) {
    // "Text\Window" is a section nested under "Text".
    QString path = section;
    path.replace(u'\\', u'/');
    return path + u'/' + key;
}

QString SettingsStore::Read(const QString& section, const QString& key,
                            const QString& defaultText) const {
    const QVariant value = settings_.value(KeyPath(section, key));
    if (!value.isValid())
        return defaultText;
    // A hand-edited value with unquoted commas comes back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    if (!value.canConvert<QString>())
        return defaultText;
    return value.toString();
}

void SettingsStore::Write(const QString& section, const QString& key, const QString& text) {
    settings_.setValue(KeyPath(section, key), text);
}

void SettingsStore::Delete(const QString& section, const QString& key) {
    settings_.remove(KeyPath(section, key));
}

bool SettingsStore::Sync() {
    settings_.sync();
    return settings_.status() != QSettings::AccessError;
}

QString SettingsStore::FileName() const {
    return settings_.fileName();
}

} // namespace platform
