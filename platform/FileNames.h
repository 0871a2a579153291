// File names as the system keeps them are bytes. Names in the local encoding (UTF-8)
// become ordinary text; a byte that is not part of valid UTF-8 is kept as the lone
// surrogate U+DC80 + byte, so every name, valid or not, encodes back to its exact bytes.
// Open files through EncodeFileName, never through QFile's own encoding, which would
// turn such a name into another one.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

QString DecodeFileName(const QByteArray& bytes);
QByteArray EncodeFileName(const QString& name);

// The program's arguments as the system passed them, every byte kept (Qt's own
// QCoreApplication::arguments() would turn a name that is not UTF-8 into another name).
QStringList DecodeArguments(int argc, const char* const* argv);

// The name for a message: each control or separator character (ControlCharacters.h)
// written as an escape (\n, \r, \t, \xHH, \uHHHH), so that the message stays one line.
QString ShownFileName(const QString& name);

} // namespace platform
