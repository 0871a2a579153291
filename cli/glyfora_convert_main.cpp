// Entry point of glyfora-convert. It runs with no display: a core application, or the
// offscreen platform where glyphs are drawn.
#include "cli/CommandLineTool.h"
#include "cli/ToolLanguage.h"
#include "platform/FileNames.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// Standard error carries the tool's own messages only: the warnings of Qt and of the
// picture libraries it wraps (a broken PNG, a truncated JPEG) are dropped, as the tool
// reports the failure itself.
void DropLibraryMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", platform::EncodeFileName(message).constData());
}

} // namespace

int main(int argc, char* argv[]) {
    // A closed standard descriptor would go to the next file opened, and the result into
    // that file: each is held by /dev/null instead, and a closed standard output is
    // reported as such when the result is written.
    const bool stdoutClosed = ::fcntl(STDOUT_FILENO, F_GETFD) < 0;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) < 0)
            ::open("/dev/null", O_RDWR);
    }
    const QStringList args = platform::DecodeArguments(argc, argv).mid(1);
    qInstallMessageHandler(DropLibraryMessages);
    // The tool runs no event loop: Qt's plain dispatcher is enough and starts faster.
    qputenv("QT_NO_GLIB", "1");
    // Glyphs are drawn offscreen: no display is needed or looked for. Other runs keep the
    // core application, which starts faster.
    std::unique_ptr<QCoreApplication> app;
    if (mGlyfora::ConvertToolDrawsGlyphs(args)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("glyfora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYFORA_VERSION));
    QTranslator messages;
    if (messages.load(mGlyfora::ToolCatalogue()))
        QCoreApplication::installTranslator(&messages);
    const int status =
        mGlyfora::RunConvertTool(args, stdoutClosed ? -1 : STDOUT_FILENO, STDERR_FILENO);
    // Every result is written and closed by now: the libraries' own clean-up at exit
    // would only cost time.
    std::fflush(nullptr);
    std::_Exit(status);
}
