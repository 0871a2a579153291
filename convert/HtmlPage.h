// Writing a conversion result as UTF-8, alone or between two HTML templates.
#pragma once

#include <QString>
#include <QStringView>

class QIODevice;

namespace mGlyfora {

// The text as UTF-8 without a byte-order mark, encoded piece by piece so a large result
// is never held twice.
bool WriteUtf8(QIODevice& out, QStringView text);

// The bytes of an HTML page: before, CR LF, body, CR LF, after, CR LF.
bool WriteHtmlPage(QIODevice& out, const QString& before, const QString& body,
                   const QString& after);

} // namespace mGlyfora
