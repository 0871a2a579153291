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
// Puts every process-wide value back as the program starts with it, the settings store
// emptied too; each test's init() calls it so that no test sees what another left.
void ResetProcessValues();
// The text stored under the key, "<absent>" when there is none.
QString Stored(const QString& section, const QString& key);
// Stores the text under the key, on disk at once.
void Store(const QString& section, const QString& key, const QString& text);
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
