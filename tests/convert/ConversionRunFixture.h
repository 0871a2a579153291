// The set-up every conversion-run test shares: a main window with the checker picture,
// scripted dialogs, a conversion window that takes or refuses the text, and the default
// page templates.
#pragma once

#include "convert/ConversionRun.h"
#include "convert/ConversionSettings.h"
#include "imageops/PictureSurface.h"
#include "platform/mGlyfora.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QImage>
#include <QMainWindow>
#include <QStringList>
#include <QTest>
#include <new>

namespace runtest {

const QByteArray BeforeHTML =
    "<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n<FONT SIZE=\"1\" STYLE=\"font-size: "
    "2px\"><PRE STYLE=\"font-family: IPAGothic; line-height: 1\">";
const QByteArray Before =
    "<HTML><BODY BGCOLOR=\"#FFFFFF\">\r\n<FONT STYLE=\"font-size: 6px; line-height: 0.6\"><PRE>";
const QByteArray After = "</PRE></FONT>\r\n</BODY></HTML>";

// Red x, green y, blue x xor y (each modulo 256): no two neighbours alike.
inline QImage CrossingPicture(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
    }
    return image;
}

// Each conversion-run test class derives from it.
class ConversionRunFixture : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Before each test: no answers scripted, nothing shown, the checker picture, the main
    // window on screen.
    void init() {
        dialogs = testsupport::ScriptedDialogs();
        shown.clear();
        view = View::Takes;
        testsupport::ResetProcessValues();
        mGlyfora::ImageBaseName = QStringLiteral("cat");
        mGlyfora::SaveDirectory = QDir::tempPath();
        UseCheckerPicture();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
    }

protected:
    QMainWindow main;
    PictureSurface picture;
    testsupport::ScriptedDialogs dialogs;
    QStringList shown; // texts handed to the conversion window
    enum class View { Takes, TooLong, OutOfMemory } view = View::Takes;

    mGlyfora::ConversionRunTarget Target(mGlyfora::SelectionRect selection = {}) {
        return {main, picture, selection, dialogs, [this](const QString& text) {
                    if (view == View::OutOfMemory)
                        throw std::bad_alloc();
                    if (view == View::TooLong)
                        return false;
                    shown << text;
                    return true;
                }};
    }

    // White, black / black, white: with the ramp "<#" (brightest first) the art is
    // "<#" CR LF "#<".
    void UseCheckerPicture() {
        QImage image(2, 2, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(255, 255, 255));
        image.setPixel(1, 0, qRgb(0, 0, 0));
        image.setPixel(0, 1, qRgb(0, 0, 0));
        image.setPixel(1, 1, qRgb(255, 255, 255));
        QVERIFY(picture.Assign(image));
        mGlyfora::ConversionSettings.Charactor = QStringLiteral("<#");
    }
};

} // namespace runtest
