// Times the conversion window with conversion-sized results: handing the text over and
// showing it until painted, paging down through it, and printing it to PDF. Prints the
// median of each measurement. Run offscreen or under Xvfb.
#include "app/Main.h"
#include "platform/SettingsStore.h"
#include "tests/support/ScriptedDialogs.h"
#include "textwin/ConversionView.h"
#include "textwin/frmText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {
// A result as the text scan makes it: `rows` lines of `columns` ramp characters.
QString Result(int columns, int rows) {
    const QString ramp = QStringLiteral(" .,:;!IU0OQRB&%@");
    QString text;
    text.reserve(qsizetype(rows) * (columns + 2));
    quint32 seed = 12345;
    for (int y = 0; y < rows; ++y) {
        if (y)
            text += QStringLiteral("\r\n");
        for (int x = 0; x < columns; ++x) {
            seed = seed * 1103515245u + 12345u;
            text += ramp.at((seed >> 16) % ramp.size());
        }
    }
    return text;
}

// CPU time of this thread in milliseconds: on a machine shared with other work the wall
// clock says more about the neighbours than about the window.
double CpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Hands `text` to the window; a text the view refuses is no measurement.
void Hand(frmText& form, const QString& text) {
    if (form.rtfView->SetText(text) != ViewStatus::Shown) {
        std::fprintf(stderr, "the view refuses a text of %lld characters\n",
                     static_cast<long long>(text.size()));
        std::exit(1);
    }
}

// Hands `text` to a fresh window and shows it until it is painted; milliseconds.
Timing HandOver(const QString& text) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    const double cpu = CpuMs();
    QElapsedTimer timer;
    timer.start();
    frmText form(dialogs, store);
    const double loaded = timer.nsecsElapsed() / 1e6;
    Hand(form, text);
    const double set = timer.nsecsElapsed() / 1e6;
    form.show();
    const double shown = timer.nsecsElapsed() / 1e6;
    form.rtfView->viewport()->repaint();
    const double painted = timer.nsecsElapsed() / 1e6;
    QApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (qEnvironmentVariableIsSet("BENCH_STAGES"))
        std::fprintf(stderr, "load %.1f set %.1f show %.1f paint %.1f events %.1f\n", loaded,
                     set - loaded, shown - set, painted - shown, ms - painted);
    const Timing timing{ms, CpuMs() - cpu};
    form.close();
    return timing;
}

// Median time of one PageDown until the view is painted again, over `pages` presses.
Timing PageDown(const QString& text, int pages) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    frmText form(dialogs, store);
    Hand(form, text);
    form.resize(800, 600);
    form.show();
    form.rtfView->setFocus();
    QApplication::processEvents();
    std::vector<double> times, cpus;
    for (int i = 0; i < pages; ++i) {
        const double cpu = CpuMs();
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(form.rtfView, &press);
        form.rtfView->viewport()->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
        cpus.push_back(CpuMs() - cpu);
    }
    return {Median(times), Median(cpus)};
}

// Prints `text` once to a PDF; milliseconds, and the page count from pdfinfo.
std::pair<Timing, QString> Print(const QString& text, const QString& pdf) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    frmText form(dialogs, store);
    Hand(form, text);
    dialogs.printToFile = pdf;
    dialogs.printAnswers << platform::PrintDialogResult{1};
    const double cpu = CpuMs();
    QElapsedTimer timer;
    timer.start();
    form.mnuPrint_Click();
    const Timing ms{timer.nsecsElapsed() / 1e6, CpuMs() - cpu};
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(60000);
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    const auto pages = out.section(QStringLiteral("Pages:"), 1).section(u'\n', 0, 0).trimmed();
    return {ms, pages};
}
} // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glyfora"));
    // The fonts the program stands in for "Terminal", as it runs.
    mGlyfora::PrepareApplication(app);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTextStream out(stdout);

    struct Size {
        int columns, rows;
    };
    // A 1920 x 1080 picture at one pixel per cell (2.07 M characters), a 4000 x 1500 one
    // (6 M) and one at the limit; or the size given after the number of runs.
    std::vector<Size> sizes = {{1920, 1080}, {4000, 1500}, {4000, 4000}};
    if (argc > 3)
        sizes = {{atoi(argv[2]), atoi(argv[3])}};
    for (const Size s : sizes) {
        const QString text = Result(s.columns, s.rows);
        if (text.size() > MaxViewText)
            continue;
        std::vector<double> walls, cpus;
        for (int i = 0; i < runs; ++i) {
            const Timing t = HandOver(text);
            walls.push_back(t.wall);
            cpus.push_back(t.cpu);
        }
        out << "hand-over and show " << s.columns << " x " << s.rows << " (" << text.size()
            << " chars): median " << Median(walls) << " ms wall, " << Median(cpus)
            << " ms CPU over " << runs << " runs\n";
        const Timing page = PageDown(text, 40);
        out << "  PageDown until painted: median " << page.wall << " ms wall, " << page.cpu
            << " ms CPU\n";
        out.flush();
    }
    if (argc > 3)
        return 0;
    QTemporaryDir dir;
    const QString text = Result(1920, 1080);
    std::vector<double> walls, cpus;
    QString pages;
    for (int i = 0; i < std::min(runs, 3); ++i) {
        const auto [t, count] = Print(text, dir.filePath(QStringLiteral("p%1.pdf").arg(i)));
        walls.push_back(t.wall);
        cpus.push_back(t.cpu);
        pages = count;
    }
    out << "print 1920 x 1080 to PDF: median " << Median(walls) << " ms wall, " << Median(cpus)
        << " ms CPU, " << pages << " pages\n";
    return 0;
}
