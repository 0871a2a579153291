// The per-user persistent key/value store: application "glyfora", sections and keys,
// every value kept as text. Backed by an INI file under $XDG_CONFIG_HOME/glyfora/.
//
// The file is read and written only when it is a regular file (symbolic links followed
// to one) or does not exist yet. Anything else at its path (a FIFO, a device, a folder,
// a dangling link) is never opened or replaced: the store then starts empty, so every
// value reads as its default, keeps what is written in memory, and Sync reports failure.
#pragma once

#include <QHash>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <memory>

namespace platform {

class SettingsStore {
public:
    SettingsStore();
    ~SettingsStore();

    // The stored text, or the default when the key is absent.
    QString Read(const QString& section, const QString& key, const QString& defaultText) const;
    void Write(const QString& section, const QString& key, const QString& text);
    // Removing an absent key is not an error here.
    void Delete(const QString& section, const QString& key);

    // Writes pending changes to disk; false when the file could not be written or what
    // stands at its path is not a file the store may write.
    bool Sync();
    QString FileName() const;

private:
    static QString KeyPath(const QString& section, const QString& key);
    QString fileName_;
    // Absent while the file may not be touched; the values then live in memory_.
    std::unique_ptr<QSettings> settings_;
    QHash<QString, QVariant> memory_;
};

} // namespace platform
