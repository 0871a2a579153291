// The intermediate file's place; the path of the last one used (TempFileName) lives with
// the conversion's values in convert/ConversionSettings.h. A scan's cancel check is its
// host's (convert/ScanHost.h).
#pragma once

#include "platform/Paths.h"

#include <QString>

namespace mGlyfora {

// Where the intermediate file lives: the per-user temporary folder.
inline QString IntermediateFilePath() {
    return platform::TempFolder() + QStringLiteral("~glyfora.tmp");
}

} // namespace mGlyfora
