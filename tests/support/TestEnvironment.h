// Test process set-up: settings and the per-user temporary folder point into a fresh
// temporary folder, and the offscreen platform is used, before the application starts.
#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

namespace testsupport {

class TestEnvironment {
public:
    TestEnvironment();
    QString Root() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
};

// Empties the settings store of this test process.
void ClearSettings();
// The settings file of this test process.
QString SettingsFilePath();

} // namespace testsupport

#define GLYFORA_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char* argv[]) {                                                             \
        testsupport::TestEnvironment environment;                                                  \
        QApplication app(argc, argv);                                                              \
        QApplication::setApplicationName(QStringLiteral("glyfora"));                               \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
