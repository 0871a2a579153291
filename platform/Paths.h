// Folders the program relies on: its own folder, the per-user temporary folder, and
// the folder/name split of a chosen file.
#pragma once

#include <QString>

namespace platform {

// The folder that holds the running program, without a trailing separator ("/" for root).
QString ProgramFolder();

// Per-user temporary folder, ending in "/": $XDG_RUNTIME_DIR when it is a directory,
// else the system temporary folder.
QString TempFolder();

// The folder part of an absolute path without the trailing "/"; "/" for a file in root.
QString FolderOfPath(const QString& path);

// The text after the last "/" (the whole path when it has none).
QString FileTitleOfPath(const QString& path);

} // namespace platform
