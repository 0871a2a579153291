// Entry point of glyfora-convert. A core application only: it runs with no display.
#include "convert/CommandLineTool.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("glyfora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLYFORA_VERSION));
    QFile out, err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly))
        return mGlyfora::ToolFailure;
    const int status = mGlyfora::RunConvertTool(QCoreApplication::arguments().mid(1), out, err);
    out.close();
    err.close();
    return status;
}
