// A font as the program keeps and offers it: face name, point size and four styles. The
// conversion window stores it, the font dialog starts from and returns it, and the view
// and the printer take it as a QFont.
#pragma once

#include <QFont>
#include <QString>

namespace platform {

struct FontRecord {
    QString Name;
    float Size = 0; // points; not above 0 when there is none
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;

    // The font named so, with these styles; without a size, QFont's own.
    QFont ToQFont() const;
    // The first family, the point size and the styles of `font`.
    static FontRecord From(const QFont& font);
};

} // namespace platform
