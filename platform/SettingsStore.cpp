// SettingsStore over QSettings in INI form, guarded against what is not a regular file.
#include "platform/SettingsStore.h"

#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <cerrno>
#include <sys/stat.h>

namespace platform {

namespace {

// Whether the store may read and write `path`: a regular file, links followed to one,
// or nothing at all (not even a dangling link) so that a new file is made.
bool MayUse(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const FileCheck check = CheckFile(name);
    if (check.kind != FileKind::Failed)
        return check.kind == FileKind::Regular;
    struct stat info {};
    return check.error == ENOENT && ::lstat(name.constData(), &info) != 0 && errno == ENOENT;
}

} // namespace

SettingsStore::SettingsStore()
    : fileName_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/glyfora/glyfora.ini")) {
    // QSettings reads its file when it is made: nothing else may be opened.
    if (MayUse(fileName_))
        settings_ = std::make_unique<QSettings>(fileName_, QSettings::IniFormat);
}

SettingsStore::~SettingsStore() {
    // QSettings writes pending changes when it goes; by then the file may have been
    // replaced by something the store must not write, so that write is let go.
    if (settings_ && !MayUse(fileName_))
        static_cast<void>(settings_.release());
}

QString SettingsStore::KeyPath(const QString& section, const QString& key) {
    // "Text\Window" is a section nested under "Text".
    QString path = section;
    path.replace(u'\\', u'/');
    return path + u'/' + key;
}

QString SettingsStore::Read(const QString& section, const QString& key,
                            const QString& defaultText) const {
    const QString path = KeyPath(section, key);
    const QVariant value = settings_ ? settings_->value(path) : memory_.value(path);
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
    if (settings_)
        settings_->setValue(KeyPath(section, key), text);
    else
        memory_.insert(KeyPath(section, key), text);
}

void SettingsStore::Delete(const QString& section, const QString& key) {
    if (settings_)
        settings_->remove(KeyPath(section, key));
    else
        memory_.remove(KeyPath(section, key));
}

bool SettingsStore::Sync() {
    if (!settings_ || !MayUse(fileName_))
        return false;
    settings_->sync();
    return settings_->status() != QSettings::AccessError;
}

QString SettingsStore::FileName() const {
    return fileName_;
}

} // namespace platform
