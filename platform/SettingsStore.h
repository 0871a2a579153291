// The per-user persistent key/value store: application "glyfora", sections and keys,
// every value kept as text. Backed by an INI file under $XDG_CONFIG_HOME/glyfora/.
#pragma once

#include <QSettings>
#include <QString>

namespace platform {

// The files a store reads: the application's and the organisation's, in the user's
// configuration folder and in the system's.
enum class SettingsFiles {
    None,     // none of them exists
    Regular,  // those that exist are regular files (links followed)
    Unusable, // one is something else (a FIFO, a device, a folder): reading could block
};
SettingsFiles CheckSettingsFiles();

class SettingsStore {
public:
    SettingsStore();

    // The stored text, or the default when the key is absent.
    QString Read(const QString& section, const QString& key, const QString& defaultText) const;
    void Write(const QString& section, const QString& key, const QString& text);
    // Removing an absent key is not an error here.
    void Delete(const QString& section, const QString& key);

    // Writes pending changes to disk; false when the file could not be written.
    bool Sync();
    QString FileName() const;

private:
    static QString KeyPath(const QString& section, const QString& key);
    mutable QSettings settings_;
};

} // namespace platform
