// Names of glyfora-convert's outputs in an output folder: one per picture, made from the
// picture's name as the program makes the proposed name of its HTML save, and never the
// same for two pictures.
#pragma once

#include <QString>
#include <QStringList>

namespace mGlyfora {

// What standard input ("-") is called on standard error (in the messages' language) and in
// an output folder.
QString StandardInputName();
inline const QString StandardInputBaseName = QStringLiteral("stdin");

// The file name without folder and without its last extension. A name without an
// extension, or one that would leave nothing (".jpg"), is kept whole.
QString PictureBaseName(const QString& path);

// The output names, in the pictures' order, each the base name followed by `suffix`
// (".txt"). A base name already given to an earlier picture gets "-2", "-3", ... (the
// first free one), so the results of photos/a.jpg and thumbs/a.png are a.txt and a-2.txt.
QStringList OutputFileNames(const QStringList& pictures, const QString& suffix);

} // namespace mGlyfora
