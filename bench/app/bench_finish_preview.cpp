// Times the options dialog's finish tab on a large picture: from a click on a style to the
// preview painted with that style's art (the reduced copy already made), and the text
// conversions in tone and shape against the exact scan at the same cells. Prints medians.
// Usage: bench_finish_preview [PICTURE]   (default: a 4000 x 3000 picture of noise)
#include "app/Main.h"
#include "convert/ArtPreview.h"
#include "convert/ConversionSettings.h"
#include "convert/ConvertScan.h"
#include "convert/ProgramLooks.h"
#include "convert/frmOption.h"
#include "imageops/PictureLoader.h"
#include "imageops/PictureSurface.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Lets events through until the preview has shown new art, then paints it at once.
void WaitShown(ArtPreview& preview, int& shown, int before) {
    while (shown == before)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    preview.repaint();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    mGlyfora::PrepareApplication(app);
    QImage picture;
    if (argc > 1) {
        picture = LoadPictureFile(QString::fromLocal8Bit(argv[1]), nullptr)
                      .value_or(LoadedPicture())
                      .image;
    } else {
        picture = QImage(4000, 3000, QImage::Format_RGB32);
        quint32 state = 12345;
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = 0xFF000000u | ((state = state * 1664525u + 1013904223u) >> 8);
        }
    }
    if (picture.isNull()) {
        std::fprintf(stderr, "no picture\n");
        return 1;
    }
    QWidget main;
    main.resize(900, 700);
    main.show();
    testsupport::ScriptedDialogs dialogs;
    qint16 recentMax = 4;
    std::array<QString, mGlyfora::RecentFilesSlots> recent;
    frmOption dialog(main, dialogs, recentMax, recent);
    dialog.Form_Load();
    QFont font(QStringLiteral("Terminal")); // the conversion window's default
    font.setPointSizeF(4);
    dialog.SetPreview(picture, QRectF(picture.rect()), font, Qt::black, Qt::white);
    dialog.show();
    int shown = 0;
    QObject::connect(dialog.picPreview, &ArtPreview::Shown, [&] { ++shown; });
    QElapsedTimer clock;
    clock.start();
    dialog.tabProp->setCurrentIndex(5);
    WaitShown(*dialog.picPreview, shown, 0);
    std::printf("first preview (exact, no reduced copy needed): %.1f ms\n",
                clock.nsecsElapsed() / 1e6);

    std::vector<double> latency[3];
    const int order[] = {1, 2, 0};
    for (int round = 0; round < 15; ++round) {
        for (int style : order) {
            const int before = shown;
            clock.restart();
            dialog.optStyle[style]->click();
            WaitShown(*dialog.picPreview, shown, before);
            latency[style].push_back(clock.nsecsElapsed() / 1e6);
        }
    }
    std::vector<double> all;
    const char* names[] = {"exact", "tone", "shape"};
    for (int style = 0; style < 3; ++style) {
        std::printf("preview after a click, %s: median %.1f ms (first %.1f ms)\n", names[style],
                    Median(latency[style]), latency[style].front());
        all.insert(all.end(), latency[style].begin() + 1, latency[style].end());
    }
    std::printf("preview after a click, all styles: median %.1f ms\n", Median(all));
    const QSize cells = dialog.picPreview->Rows().isEmpty()
                            ? QSize()
                            : QSize(int(dialog.picPreview->Rows().front().size()),
                                    int(dialog.picPreview->Rows().size()));
    std::printf("preview cells: %d x %d\n", cells.width(), cells.height());

    // The conversions at 8 x 16 pixel cells (500 x 187 cells on 4000 x 3000).
    PictureSurface surface;
    surface.Assign(picture);
    mGlyfora::ConversionSettings.X = 8;
    mGlyfora::ConversionSettings.Y = 16;
    const QString face = QFontInfo(font).family();
    for (int style = 0; style < 3; ++style) {
        mGlyfora::ConversionSettings.Style = quint8(style);
        std::vector<double> times;
        for (int run = 0; run < 5; ++run) {
            mGlyfora::NullScanHost host;
            clock.restart();
            const mGlyfora::ScanOutcome outcome =
                style == 0
                    ? mGlyfora::Scan(mGlyfora::ScanKind::Text, mGlyfora::ConversionSettings,
                                     surface, {}, host)
                    : mGlyfora::ScanInLook(mGlyfora::ConversionSettings, surface, {}, face, host);
            times.push_back(clock.nsecsElapsed() / 1e6);
            if (outcome.status != mGlyfora::ScanStatus::Done)
                std::printf("%s failed: %s\n", names[style], qPrintable(outcome.reason));
        }
        std::printf("text conversion, %s, 8 x 16 cells: median %.1f ms\n", names[style],
                    Median(times));
    }
    return 0;
}
