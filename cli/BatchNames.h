// Names of glyfora-convert's outputs in an output folder: one per picture, made from the
// picture's name as the program makes the proposed name of its HTML save, and never the
// same for two pictures.
#pragma once

#include <QHash>
#include <QPair>
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

// Why an output is refused: it would replace picture `replaced` of the run, the one of
// picture `own` or another.
QString ReplacesPictureText(const QStringList& pictures, qsizetype own, qsizetype replaced);

// The files a run's pictures are (device and inode, links followed), so that no output
// replaces a picture of the run, its own or another's, before it is read.
class PictureFiles {
public:
    explicit PictureFiles(const QStringList& pictures);
    // The index of the picture that `output` names, or -1.
    qsizetype Find(const QString& output) const;

private:
    QHash<QPair<quint64, quint64>, qsizetype> files_;
};

} // namespace mGlyfora
