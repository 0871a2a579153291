// Ramp to character table, and a cell's colour to its character. Each text scan builds a
// table of its own from the settings it was given; the process-wide CharacterTable (held
// in convert/ConversionSettings.h) is filled from ConversionSettings by the two Fill
// routines, for PickCharacter.
#pragma once

#include "platform/Colour.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace mGlyfora {

inline constexpr int CharacterTableSize = 65;

// The text's characters, one code point each (a surrogate pair stays together).
QStringList SplitCharacters(const QString& text);

// The table for `ramp`: its characters, first character first or (reverse) last
// character first. Nothing for an empty ramp or one longer than CharacterTableSize.
std::optional<QStringList> MakeCharacterTable(const QString& ramp, bool reverse);

// Fill CharacterTable from ConversionSettings.Charactor as MakeCharacterTable orders it.
// False (table unchanged) when it makes none.
bool FillCharacterTable();
bool FillCharacterTableReverse();

// Distance between two brightness thresholds for a ramp of n characters.
int RampStep(int n);
// Table index for a cell whose largest colour component is maxComponent (0..255).
int CharacterIndex(int maxComponent, int n);

// The character for a cell colour under the current ramp length.
QString PickCharacter(Colour colour);

} // namespace mGlyfora
