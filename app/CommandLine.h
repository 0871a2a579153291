// The picture path given on the command line, and whether it names a file to open.
#pragma once

#include <QString>
#include <QStringList>

namespace mGlyfora {

// The current folder, every byte kept likewise.
QString CurrentFolder();

// The arguments after the program name joined with single spaces (so an unquoted path
// with spaces still names one file), made absolute against the given folder and left
// otherwise as given ("sub/../p.bmp" still needs "sub"). Empty when there are no arguments.
QString CommandLinePath(const QStringList& arguments, const QString& currentFolder);

// Whether the command-line path counts as an existing file: a regular file (symbolic
// links followed), not hidden (a name starting with "."), looked up by its exact bytes.
// Folders, hidden files, devices and FIFOs do not count.
bool CommandLineFileCounts(const QString& path);

} // namespace mGlyfora
