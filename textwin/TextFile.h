// Plain text files of the conversion window (UTF-8, CR LF) and the reading and saving of
// whole files for the window's open and save commands.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace mGlyfora {

// A file's bytes as text for the view: a leading UTF-8 byte-order mark dropped, bytes
// that are not UTF-8 become U+FFFD, and CR LF, LF and a lone CR all end a line. Lines
// come back joined with '\n', one paragraph each when given to a QTextDocument.
QString DecodeTextFile(const QByteArray& bytes);

// The text (lines joined with CR LF, as the view's Text gives them) as the file's bytes:
// UTF-8 without a byte-order mark. DecodeTextFile gives back exactly the same text with
// '\n' for each CR LF (a text that itself starts with U+FEFF included).
QByteArray EncodeTextFile(const QString& textWithCrLf);

// The whole content of a regular file, or nothing with the reason in `error` (may be
// null). A folder, a pipe, a device or a socket is refused without being read, so it
// can never block the program.
std::optional<QByteArray> ReadWholeFile(const QString& path, QString* error);

// Saves `bytes` as the file at `path` at once: an earlier file is replaced only when all
// was written, otherwise it stays as it was and `error` (may be null) says why.
bool SaveFileBytes(const QString& path, const QByteArray& bytes, QString* error);

} // namespace mGlyfora
