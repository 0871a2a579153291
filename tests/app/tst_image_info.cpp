// The status bar's picture information (sizes, cells, the selection) and the base names
// of loaded pictures.
#include "app/ImageInfo.h"
#include "app/Main.h"
#include "app/frmMain.h"
#include "app/mGlyfora.h"
#include "convert/ConversionSettings.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/TestPictures.h"

#include <QTest>

using namespace apptest;

class TestImageInfo : public MainWindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void statusTexts_data() {
        QTest::addColumn<double>("w");
        QTest::addColumn<double>("h");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QString>("text");
        QTest::newRow("640x480 cell 1")
            << 640.0 << 480.0 << 1 << 1 << "Image: 640 x 480 -> 300 KByte";
        QTest::newRow("640x480 cell 2")
            << 640.0 << 480.0 << 2 << 2 << "Image: 640 x 480 -> 75 KByte";
        QTest::newRow("100x100") << 100.0 << 100.0 << 1 << 1 << "Image: 100 x 100 -> 10 KByte";
        QTest::newRow("50x20 selection") << 50.0 << 20.0 << 1 << 1 << "Image: 50 x 20 -> 1 KByte";
        // (1000 div 1) x (3000 div 3) = 1000000 cells; swapped cells would give 999000.
        QTest::newRow("wide cells")
            << 3000.0 << 1000.0 << 3 << 1 << "Image: 3000 x 1000 -> 977 KByte";
        // (1000 div 3) x (3000 div 1) = 999000 cells.
        QTest::newRow("tall cells")
            << 3000.0 << 1000.0 << 1 << 3 << "Image: 3000 x 1000 -> 976 KByte";
        QTest::newRow("beyond 16 bits")
            << 70000.0 << 70000.0 << 1 << 1 << "Image: 70000 x 70000 -> 4785156 KByte";
        QTest::newRow("half rounds to even") << 2.5 << 3.5 << 1 << 1 << "Image: 2 x 4 -> 0 KByte";
    }
    void statusTexts() {
        QFETCH(double, w);
        QFETCH(double, h);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QString, text);
        QCOMPARE(mGlyfora::ImageInfoText(w, h, x, y), text);
    }

    void statusTextWithWideCells() {
        const QString wide = testsupport::WritePicture(
            testsupport::GradientImage(3000, 1000), dir_.filePath(QStringLiteral("w.png")), "png");
        Started run;
        mGlyfora::ConversionSettings.X = 3; // as the options dialog would leave them
        mGlyfora::ConversionSettings.Y = 1;
        run.form->LoadImageFile(wide);
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 3000 x 1000 -> 977 KByte"));
    }

    void statusTextOfLoadedPictureAndSelection() {
        Started run(picture640_);
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 640 x 480 -> 300 KByte"));
        run.form->shpCut->SetRect(10, 10, 50, 20);
        run.form->shpCut->show();
        run.form->ShowImageInfo();
        QCOMPARE(run.form->StatusText(), QStringLiteral("Image: 50 x 20 -> 1 KByte"));
    }

    void baseNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two dots") << "/x/archive.tar.gif"
                                  << "archive.tar";
        QTest::newRow("no dot keeps previous") << "/x/README"
                                               << "previous";
        QTest::newRow("no folder keeps previous") << "cat.gif"
                                                  << "previous";
        QTest::newRow("dot in folder only") << "/x.y/README"
                                            << "previous";
    }
    void baseNames() {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(mGlyfora::NextImageBaseName(path, QStringLiteral("previous")), expected);
    }
};

GLYFORA_TEST_MAIN(TestImageInfo)
#include "tst_image_info.moc"
