// The picture path given on the command line.
#pragma once

#include <QString>
#include <QStringList>

namespace mGlyfora {

// The arguments after the program name joined with single spaces (so an unquoted path
// with spaces still names one file), made absolute against the given folder. Empty
// when there are no arguments.
QString CommandLinePath(const QStringList& arguments, const QString& currentFolder);

} // namespace mGlyfora
