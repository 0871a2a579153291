// The character table the text scan picks from (held in convert/ConversionSettings.h),
// filled from the ramp before every scan, and the mapping from a cell's colour to its
// character.
#pragma once

#include "platform/Colour.h"

#include <QString>
#include <QStringList>
#include <array>

namespace mGlyfora {

inline constexpr int CharacterTableSize = 65;

// The text's characters, one code point each (a surrogate pair stays together).
QStringList SplitCharacters(const QString& text);

// Fill CharacterTable from ConversionSettings.Charactor, first character first or
// last character first. False (table unchanged) for an empty ramp or one longer than
// the table.
bool FillCharacterTable();
bool FillCharacterTableReverse();

// Distance between two brightness thresholds for a ramp of n characters.
int RampStep(int n);
// Table index for a cell whose largest colour component is maxComponent (0..255).
int CharacterIndex(int maxComponent, int n);

// The character for a cell colour under the current ramp length.
QString PickCharacter(Colour colour);

} // namespace mGlyfora
