// The program's looks for text results: what the settings' style, ramp, direction and
// diffusion mean to the shared engine, and the text scan in a look. The program's own
// scan (style 0) never comes here.
#pragma once

#include "convert/ArtEngine.h"
#include "convert/ArtLooks.h"
#include "convert/ConvertScan.h"
#include "imageops/SelectionRect.h"

#include <QString>
#include <memory>
#include <optional>

class PictureSurface;

namespace mGlyfora {

// The stored style number (0 exact, 1 tone, 2 shape) as a look; anything else is exact.
ArtStyle StyleFromSetting(int style);

// The look of a text result: ink on light paper, or with the ramp reversed light drawn on
// dark; diffusion for tone only; glyphs of `face` (the family the conversion window shows).
LookOptions ProgramLook(ArtStyle style, bool reverse, bool dither, const QString& face);

// The characters a look chooses among: tone the ramp's; shape the ramp's once a person has
// made one, else printable ASCII (the default ramp holds no line or slope to match).
QStringList ProgramCharacters(ArtStyle style, const QString& ramp);

// The glyphs of the look's face (fontconfig's "monospace" when it is not installed),
// measured for `characters`.
std::shared_ptr<const GlyphMeasures> ProgramGlyphs(const LookOptions& look,
                                                   const QStringList& characters);

// The text scan in the look of `cs` (not exact): the region the program's own scan would
// take, cut into whole cells nearest the settings' cell size (as glyfora-convert cuts it),
// the rows through the intermediate file.
ScanOutcome ScanInLook(const ConversionSettingsRecord& cs, const PictureSurface& picView,
                       const SelectionRect& shpCut, const QString& face, ScanHost& host);

} // namespace mGlyfora
