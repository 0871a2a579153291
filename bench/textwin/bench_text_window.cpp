// Times the conversion window with conversion-sized results: handing the text over and
// showing it until painted, paging down through it, and printing it to PDF. Prints the
// median of each measurement. Run offscreen or under Xvfb.
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

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Hands `text` to a fresh window and shows it until it is painted; milliseconds.
double HandOver(const QString& text) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    QElapsedTimer timer;
    timer.start();
    frmText form(dialogs, store);
    form.rtfView->SetText(text);
    form.show();
    form.rtfView->viewport()->repaint();
    QApplication::processEvents();
    const double ms = timer.nsecsElapsed() / 1e6;
    form.close();
    return ms;
}

// Median time of one PageDown until the view is painted again, over `pages` presses.
double PageDown(const QString& text, int pages) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    frmText form(dialogs, store);
    form.rtfView->SetText(text);
    form.resize(800, 600);
    form.show();
    form.rtfView->setFocus();
    QApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < pages; ++i) {
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QApplication::sendEvent(form.rtfView, &press);
        form.rtfView->viewport()->repaint();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    return Median(times);
}

// Prints `text` once to a PDF; milliseconds, and the page count from pdfinfo.
std::pair<double, QString> Print(const QString& text, const QString& pdf) {
    testsupport::ScriptedDialogs dialogs;
    platform::SettingsStore store;
    frmText form(dialogs, store);
    form.rtfView->SetText(text);
    dialogs.printToFile = pdf;
    dialogs.printAnswers << platform::PrintDialogResult{1};
    QElapsedTimer timer;
    timer.start();
    form.mnuPrint_Click();
    const double ms = timer.nsecsElapsed() / 1e6;
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
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTextStream out(stdout);

    struct Size {
        int columns, rows;
    };
    for (const Size s : {Size{1920, 540}, Size{4000, 1500}, Size{4000, 4000}}) {
        const QString text = Result(s.columns, s.rows);
        if (text.size() > MaxViewText)
            continue;
        std::vector<double> times;
        for (int i = 0; i < runs; ++i)
            times.push_back(HandOver(text));
        out << "hand-over and show " << s.columns << " x " << s.rows << " (" << text.size()
            << " chars): median " << Median(times) << " ms over " << runs << " runs\n";
        out << "  PageDown until painted: median " << PageDown(text, 40) << " ms\n";
        out.flush();
    }
    QTemporaryDir dir;
    const QString text = Result(1920, 540);
    std::vector<double> times;
    QString pages;
    for (int i = 0; i < std::min(runs, 3); ++i) {
        const auto [ms, count] = Print(text, dir.filePath(QStringLiteral("p%1.pdf").arg(i)));
        times.push_back(ms);
        pages = count;
    }
    out << "print 1920 x 540 to PDF: median " << Median(times) << " ms, " << pages << " pages\n";
    return 0;
}
