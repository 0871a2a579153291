// Saving a conversion result as an HTML page the person names, then opening it with the
// desktop's default application (the browser).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {
class Dialogs;
class OutputFile;
} // namespace platform

namespace mGlyfora {

enum class BodyStatus { Written, Failed, Cancelled };

// Writes a result onto a page after its template before: the result's bytes followed by
// CR LF. On a failure of its own source it says why in `why` (platform/ErrorText.h); a
// failure of the page leaves `why` alone. Cancelled leaves no page and says nothing.
using PageBody = std::function<BodyStatus(platform::OutputFile& page, QString* why)>;

// A text result between the templates Before and After; "<" in the art is written as
// "&lt;" so that the browser shows it instead of taking it for a tag.
void SaveTextAsHTML(QWidget* parent, platform::Dialogs& dialogs, const QString& text);
// An HTML result between BeforeHTML and AfterHTML, as `body` writes it.
void SaveColorAsHTML(QWidget* parent, platform::Dialogs& dialogs, const PageBody& body);

} // namespace mGlyfora
