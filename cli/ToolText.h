// glyfora-convert's own texts: written in English, translated through the tool's message
// catalogue (cli/translations) under a Japanese locale.
#pragma once

#include <QCoreApplication>

class ToolText {
    Q_DECLARE_TR_FUNCTIONS(ToolText)
};
