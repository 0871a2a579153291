// Characters that break a line or steer a terminal rather than show: Unicode's control
// (Cc: C0, DEL, C1) and line and paragraph separator (Zl, Zp) categories. They never enter
// a ramp, and a file name holding one is shown escaped.
#pragma once

#include <QChar>

namespace platform {

inline bool IsControlCharacter(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line ||
           category == QChar::Separator_Paragraph;
}

} // namespace platform
