// Writing a conversion result as UTF-8, alone or between two HTML templates: the page
// bytes of the program's HTML save and of glyfora-convert --page.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace platform {
class OutputFile;
}

namespace mGlyfora {

// A template as it stands on a page: its UTF-8 bytes followed by CR LF.
QByteArray TemplateLine(QStringView text);

// The text as UTF-8 without a byte-order mark, encoded piece by piece so a large result
// is never held twice.
bool WriteUtf8(platform::OutputFile& out, QStringView text);

// A text result as it goes on a page: "<" as "&lt;", so the browser shows the art instead
// of taking part of it for a tag; everything else as it is.
QString TextForPage(const QString& text);

// The bytes of an HTML page: before, CR LF, body, CR LF, after, CR LF.
bool WriteHtmlPage(platform::OutputFile& out, const QString& before, const QString& body,
                   const QString& after);

} // namespace mGlyfora
