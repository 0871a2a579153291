// The process-wide conversion parameters: cell size, ramp direction, the character
// ramp and the four HTML templates.
#pragma once

#include <QString>
#include <QtGlobal>

namespace mGlyfora {

// The longest ramp the options accept, in characters.
inline constexpr int MaxRampCharacters = 64;

struct ConversionSettingsRecord {
    quint8 X = 1; // cell width in pixels, 1 to 10
    quint8 Y = 1; // cell height in pixels, 1 to 10
    bool Reverse = false;
    QString Charactor = DefaultCharactor(); // brightest first; key spelled so
    QString Before = DefaultBefore();
    QString After = DefaultAfter();
    QString BeforeHTML = DefaultBeforeHTML();
    QString AfterHTML = DefaultAfter();

    static QString DefaultCharactor() { return QStringLiteral(" .,:;!IU0OQRB&%@"); }
    static QString DefaultBefore() {
        return QStringLiteral("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
                              "<FONT STYLE=\"font-size: 6px; line-height: 0.6\"><PRE>");
    }
    static QString DefaultAfter() { return QStringLiteral("</PRE></FONT>\r\n</BODY></HTML>"); }
    static QString DefaultBeforeHTML() {
        return QStringLiteral("<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n"
                              "<FONT SIZE=\"1\" STYLE=\"font-size: 2px\"><PRE>");
    }

    bool operator==(const ConversionSettingsRecord&) const = default;
};

inline ConversionSettingsRecord ConversionSettings;

} // namespace mGlyfora
