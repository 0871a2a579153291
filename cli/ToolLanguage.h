// The language of glyfora-convert's messages: Japanese under a Japanese locale (the
// program's own texts), English otherwise.
#pragma once

#include <QString>

namespace mGlyfora {

// Whether the messages locale (LC_ALL, else LC_MESSAGES, else LANG: the first that is set
// and not empty) is a Japanese one ("ja", "ja_JP.UTF-8", ...).
bool JapaneseMessages();

// The message catalogue for that language, built into the tool.
QString ToolCatalogue();

} // namespace mGlyfora
