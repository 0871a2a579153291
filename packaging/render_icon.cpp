// Build tool: draws the application's SVG icon as a square PNG of the size given, for the
// hicolor icon theme. Uses Qt's SVG image plugin, so it needs no SVG development files.
// Usage: glyfora-render-icon SVG SIZE PNG
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char* argv[]) {
    // No display at build time: the offscreen platform is enough for painting into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // A runtime folder of its own (mode 0700): a build has none, and Qt would warn in the
    // build log about the one it falls back to.
    const QTemporaryDir runtimeDir;
    if (runtimeDir.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    bool ok = false;
    const int size = args.size() == 4 ? args.at(2).toInt(&ok) : 0;
    if (!ok || size < 1 || size > 4096) {
        err << "usage: glyfora-render-icon SVG SIZE PNG\n";
        return 2;
    }
    QImageReader reader(args.at(1), "svg");
    reader.setScaledSize(QSize(size, size));
    QImage image = reader.read();
    if (image.isNull()) {
        err << args.at(1) << ": " << reader.errorString() << "\n";
        return 1;
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (image.size() != QSize(size, size) || !image.save(args.at(3), "PNG")) {
        err << args.at(3) << ": could not write the icon\n";
        return 1;
    }
    return 0;
}
