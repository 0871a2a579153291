// Saving a conversion result as an HTML page the person names, then opening it with the
// desktop's default application (the browser).
#pragma once

#include <QString>

class QWidget;

namespace platform {
class Dialogs;
}

namespace mGlyfora {

// A text result between the templates Before and After; "<" in the art is written as
// "&lt;" so that the browser shows it instead of taking it for a tag.
void SaveTextAsHTML(QWidget* parent, platform::Dialogs& dialogs, const QString& text);
// An HTML result between BeforeHTML and AfterHTML, as it is.
void SaveColorAsHTML(QWidget* parent, platform::Dialogs& dialogs, const QString& html);

} // namespace mGlyfora
