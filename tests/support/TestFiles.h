// File-system helpers of the tests that work on names as bytes.
#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Every name in the folder, hidden ones included, with its own bytes.
QStringList Names(const QString& folder);

// A memory device to write to (null: minor 3, full: minor 7). As root, a node of its own
// in `folder`, so that a fault that replaced its target could never touch the machine's
// /dev; anyone else could not replace an entry of /dev anyway. Empty when it cannot be made.
QString DeviceNode(const QString& folder, const char* name, unsigned minor);

} // namespace testsupport
