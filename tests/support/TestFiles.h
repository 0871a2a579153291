// File-system helpers of the tests: whole-file reads and writes, a file's mode and type,
// FIFOs and device nodes, folder listings. Paths are given either as text or as the exact
// bytes of the name (for names that are not UTF-8).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sys/types.h>

namespace testsupport {

// The whole content of a file, "<missing>" when it cannot be opened. A FIFO without a
// writer reads as empty instead of blocking the test.
QByteArray ReadAll(const QByteArray& path);
QByteArray ReadAll(const QString& path);

// Creates or empties the file and writes the bytes; the mode is set as given, whatever
// the umask. False when any step fails.
bool WriteFile(const QByteArray& path, const QByteArray& bytes, mode_t mode = 0644);
bool WriteFile(const QString& path, const QByteArray& bytes, mode_t mode = 0644);

// The mode (type and permission bits) of the entry itself, a link not followed; 0 when
// there is none.
mode_t ModeOf(const QByteArray& path);
mode_t ModeOf(const QString& path);
// Only the type bits (S_IFMT) of that mode.
mode_t TypeOf(const QByteArray& path);
mode_t TypeOf(const QString& path);

// Makes a FIFO at path; false when that fails.
bool MakeFifo(const QString& path);

// Every name in the folder, hidden ones included, with its own bytes.
QStringList Names(const QString& folder);

// A memory device node of its own in `folder` (null: minor 3, zero: 5, full: 7), so that
// a fault that wrote to or replaced it could never touch the machine's /dev. Only root may
// make one: empty for anyone else, or when it cannot be made.
QString DeviceNode(const QString& folder, const char* name, unsigned minor);

} // namespace testsupport
