// Entry point of glyfora-convert. A core application only: it runs with no display.
#include "convert/CommandLineTool.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// A photo and its result are touched once, page by page, and page faults then cost as
// much as the conversion itself. glibc backs its large blocks with transparent huge
// pages when asked through a tunable, which it reads only at start-up: so where the
// kernel grants huge pages on request, the tool restarts itself once with it set.
void RestartWithHugePages(char* argv[]) {
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    if (tunables && std::strstr(tunables, "glibc.malloc.hugetlb"))
        return;
    std::string mode;
    std::getline(std::ifstream("/sys/kernel/mm/transparent_hugepage/enabled"), mode);
    if (mode.find("[madvise]") == std::string::npos)
        return;
    const std::string previous = tunables ? tunables : "";
    const std::string wanted =
        previous.empty() ? "glibc.malloc.hugetlb=1" : previous + ":glibc.malloc.hugetlb=1";
    ::setenv("GLIBC_TUNABLES", wanted.c_str(), 1);
    ::execv("/proc/self/exe", argv);
    // Could not restart: go on as we are.
    if (tunables)
        ::setenv("GLIBC_TUNABLES", previous.c_str(), 1);
    else
        ::unsetenv("GLIBC_TUNABLES");
}

} // namespace

int main(int argc, char* argv[]) {
    RestartWithHugePages(argv);
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
