// Whether a display is there to show the program: Wayland and X sockets that listen or not,
// the variables that name them.
#include "app/DisplayCheck.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A Unix socket listening at this address (a leading NUL: abstract); -1 on failure.
int Listen(const QByteArray& address) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, address.constData(), address.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const socklen_t length = offsetof(sockaddr_un, sun_path) + address.size();
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&addr), length) != 0 || ::listen(fd, 1) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace

class TestDisplayCheck : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    // Listening till the process ends: "wayland-0" in dir_, an X display's abstract socket.
    int wayland_ = -1;
    int x11_ = -1;

private Q_SLOTS:
    void initTestCase() {
        wayland_ = Listen(QFile::encodeName(dir_.filePath(QStringLiteral("wayland-0"))));
        ::close(Listen(QFile::encodeName(dir_.filePath(QStringLiteral("stale")))));
        x11_ = Listen(QByteArray(1, '\0') + "/tmp/.X11-unix/X" +
                      QByteArray::number(1000000 + ::getpid()));
    }
    void init() { testsupport::ResetProcessValues(); }

    // NAME=VALUE pairs and arguments; $R is a folder with a listening "wayland-0" and a
    // "stale" socket nobody listens on, $X a local X display that listens, $N one that does not.
    void displayAvailable_data() {
        QTest::addColumn<QString>("env");
        QTest::addColumn<QString>("args");
        QTest::addColumn<bool>("available");
        QTest::newRow("nothing") << ""
                                 << "" << false;
        QTest::newRow("platform chosen") << "QT_QPA_PLATFORM=offscreen"
                                         << "" << true;
        QTest::newRow("--platform") << ""
                                    << "--platform offscreen" << true;
        QTest::newRow("Wayland") << "XDG_RUNTIME_DIR=$R WAYLAND_DISPLAY=wayland-0"
                                 << "" << true;
        QTest::newRow("Wayland stale") << "XDG_RUNTIME_DIR=$R WAYLAND_DISPLAY=stale"
                                       << "" << false;
        QTest::newRow("Wayland, absolute path") << "WAYLAND_DISPLAY=$R/wayland-0"
                                                << "" << true;
        QTest::newRow("Wayland, absolute path, stale") << "WAYLAND_DISPLAY=$R/stale"
                                                       << "" << false;
        QTest::newRow("Wayland connection inherited") << "WAYLAND_SOCKET=3"
                                                      << "" << true;
        QTest::newRow("X") << "DISPLAY=:$X.0"
                           << "" << true;
        QTest::newRow("X, no server") << "DISPLAY=unix:$N"
                                      << "" << false;
        QTest::newRow("X elsewhere") << "DISPLAY=otherhost:0"
                                     << "" << true;
        QTest::newRow("-display") << "DISPLAY=otherhost:0"
                                  << "-display :$N" << false;
    }

    void displayAvailable() {
        QFETCH(QString, env);
        QFETCH(QString, args);
        QFETCH(bool, available);
        QVERIFY(wayland_ >= 0 && x11_ >= 0);
        const auto words = [&](QString text) {
            text.replace("$R", dir_.path()).replace("$X", QString::number(1000000 + ::getpid()));
            return text.replace("$N", QString::number(5000000 + ::getpid())).split(u' ');
        };
        QHash<QByteArray, QByteArray> variables;
        for (const QString& pair : words(env))
            variables.insert(pair.section(u'=', 0, 0).toUtf8(), pair.section(u'=', 1).toUtf8());
        QList<QByteArray> argv{"glyfora"};
        for (const QString& word : words(args))
            argv << word.toUtf8();
        std::vector<const char*> pointers;
        for (const QByteArray& word : argv)
            pointers.push_back(word.constData());
        const auto read = [&](const char* name) { return variables.value(name); };
        QCOMPARE(mGlyfora::DisplayAvailable(read, int(pointers.size()), pointers.data()),
                 available);
    }
};

GLYFORA_TEST_MAIN(TestDisplayCheck)
#include "tst_display_check.moc"
