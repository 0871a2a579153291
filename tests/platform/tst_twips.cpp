// Twips per pixel on screens of several densities. Stored geometry is in twips, so a
// window must keep its size in inches whatever the density: the twips per device pixel
// are 1440 / DPI. Run once per density (see CMakeLists.txt), with the screen's DPI set
// through the environment.
#include "platform/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

class TestTwips : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twipsPerDevicePixel() {
        const double expected = qEnvironmentVariable("GLYFORA_EXPECT_TWIPS").toDouble();
        QVERIFY(expected > 0);
        const double ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        QCOMPARE(platform::TwipsPerPixelX() / ratio, expected);
        QCOMPARE(platform::TwipsPerPixelY() / ratio, expected);
    }
};

QTEST_MAIN(TestTwips)
#include "tst_twips.moc"
