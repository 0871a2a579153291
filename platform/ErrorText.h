// The one way a function of the program says why it failed. It returns what it made as
// std::optional<T> (bool when it makes nothing, its own status where there are more outcomes
// than two) and writes why, in words for the person, to a `QString* error` that may be null
// and is left alone on success. An object used over several calls (OutputFile, a scan sink)
// says whether each call worked and keeps the reason in ErrorString(), as QIODevice does.
#pragma once

#include <QString>
#include <optional>

namespace platform {

// Gives the reason to the caller that asked for it: `return Failed(error, why);`
inline std::nullopt_t Failed(QString* error, const QString& why) {
    if (error)
        *error = why;
    return std::nullopt;
}

} // namespace platform
