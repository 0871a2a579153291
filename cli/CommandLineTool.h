// glyfora-convert: the text and HTML scans from the command line, with the settings the
// program itself would use.
#pragma once

#include <QStringList>

namespace mGlyfora {

// Runs the tool on the arguments that follow the program's name, decoded with
// platform::DecodeFileName so that every name keeps its bytes. The result goes to the
// descriptor `out` (taken over and closed) unless "-o FILE" is given; messages go to
// `err`, one line each. Answers a ConvertToolExit status (cli/ToolExit.h).
int RunConvertTool(const QStringList& args, int out, int err);

// Whether a run with these arguments draws glyphs (tone and shape measure a font's): it
// then needs a QGuiApplication, which the offscreen platform serves without a display.
bool ConvertToolDrawsGlyphs(const QStringList& args);

// The usage text, ending in a line break.
QString ConvertToolUsage();

} // namespace mGlyfora
