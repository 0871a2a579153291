// Ramp to table, and colour to character.
#include "convert/CharacterTable.h"

#include "convert/ConversionSettings.h"
#include "platform/Rounding.h"

#include <algorithm>

namespace mGlyfora {

QStringList SplitCharacters(const QString& text) {
    QStringList characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        characters.append(text.mid(i, pair ? 2 : 1));
        if (pair)
            ++i;
    }
    return characters;
}

std::optional<QStringList> MakeCharacterTable(const QString& ramp, bool reverse) {
    QStringList table = SplitCharacters(ramp);
    if (table.isEmpty() || table.size() > CharacterTableSize)
        return std::nullopt;
    if (reverse)
        std::reverse(table.begin(), table.end());
    return table;
}

namespace {

// Entries beyond the ramp keep what a longer one left there.
bool Fill(bool reverse) {
    const std::optional<QStringList> table =
        MakeCharacterTable(ConversionSettings.Charactor, reverse);
    if (!table)
        return false;
    std::copy(table->cbegin(), table->cend(), CharacterTable.begin());
    return true;
}

} // namespace

bool FillCharacterTable() {
    return Fill(false);
}
bool FillCharacterTableReverse() {
    return Fill(true);
}

int RampStep(int n) {
    return platform::RoundHalfEven<int>(256.0 / n);
}

int CharacterIndex(int maxComponent, int n) {
    // Entry i is taken while every component stays below 256 - step * i.
    return std::min(n - 1, (255 - maxComponent) / RampStep(n));
}

QString PickCharacter(Colour colour) {
    const int n = int(SplitCharacters(ConversionSettings.Charactor).size());
    if (n < 1)
        return QString();
    const int m = int(std::max({colour & 0xFFu, colour >> 8 & 0xFFu, colour >> 16 & 0xFFu}));
    return CharacterTable[CharacterIndex(m, std::min(n, CharacterTableSize))];
}

} // namespace mGlyfora
