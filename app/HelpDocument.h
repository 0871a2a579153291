// The help document: reading the help file and taking its keyword index out of it.
#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace mGlyfora {

// A keyword of the index and the anchor of the topic it leads to.
struct HelpKeyword {
    QString keyword;
    QString anchor;
    bool operator==(const HelpKeyword&) const = default;
};

// The help file's text (UTF-8). Only a regular file of sensible size is read; otherwise
// nullopt with `error` (may be null) saying why in a few words.
std::optional<QString> ReadHelpFile(const QString& path, QString* error);

// The keywords of the document's index, in document order: the links
// <a href="#anchor">keyword</a> between the markers <!-- index --> and <!-- /index -->.
// Character references in the keyword are decoded.
QList<HelpKeyword> HelpIndex(const QString& html);

} // namespace mGlyfora
