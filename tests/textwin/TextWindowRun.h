// The conversion window as its tests load it, and the colours and selections they use.
#pragma once

#include "platform/Colour.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "textwin/ConversionView.h"
#include "textwin/frmText.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <memory>

namespace textwintest {

constexpr Colour Red = 0x0000FF; // 0x00BBGGRR
constexpr Colour Blue = 0xFF0000;
constexpr Colour Green = 0x00FF00;

struct Loaded {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    std::unique_ptr<frmText> form = std::make_unique<frmText>(dialogs, store);
    ConversionView& view() { return *form->rtfView; }
};

// The colour of one character of the view.
inline Colour ColourAt(ConversionView& view, int position) {
    QTextCursor cursor(view.document());
    cursor.setPosition(position);
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return platform::ColourFromRgb(cursor.charFormat().foreground().color().rgb());
}

inline void Select(ConversionView& view, int start, int length) {
    view.SetSelStart(start);
    view.SetSelLength(length);
}

} // namespace textwintest
