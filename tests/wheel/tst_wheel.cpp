// The wheel control: decoding of the three messages, encoding of Qt's input as those
// messages, the busy flag, and watching its host's input for the control's life.
#include "tests/support/TestEnvironment.h"
#include "wheel/WheelInput.h"
#include "wheel/intelliMouse.h"
#include "wheel/mIntelli.h"

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

using mIntelli::ControlEvent;
using mIntelli::WindowMessage;

Q_DECLARE_METATYPE(ControlEvent::Kind)

namespace {
qint32 Long(quint32 bits) {
    return qint32(bits);
}

// A wheel turn delivered to a widget as the window system would deliver it.
void TurnWheel(QWidget* widget, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF local(5, 5);
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}
} // namespace

class TestWheel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void decoding_data() {
        QTest::addColumn<int>("sent"); // as it is, as the roll message, or while unregistered
        QTest::addColumn<qint32>("uMsg");
        QTest::addColumn<qint32>("wParam");
        QTest::addColumn<qint32>("lParam");
        QTest::addColumn<ControlEvent::Kind>("kind");
        QTest::addColumn<int>("fwKeys");
        QTest::addColumn<int>("zDelta");
        QTest::addColumn<int>("Xpos");
        QTest::addColumn<int>("Ypos");
        const auto wheel = ControlEvent::MoveWheel;
        constexpr int AsIs = 0, AsRoll = 1, Unregistered = 2;
        // Position (300, 200): low word 300 = 0x012C, high word 200 = 0x00C8.
        QTest::newRow("notch away") << AsIs << 0x020A << Long(0x00780000) << Long(0x00C8012C)
                                    << wheel << 0 << 120 << 300 << 200;
        QTest::newRow("notch toward") << AsIs << 0x020A << Long(0xFF880000) << Long(0x00C8012C)
                                      << wheel << 0 << -120 << 300 << 200;
        QTest::newRow("ctrl away") << AsIs << 0x020A << Long(0x00780008) << Long(0x00C8012C)
                                   << wheel << 8 << 120 << 300 << 200;
        QTest::newRow("ctrl toward") << AsIs << 0x020A << Long(0xFF880008) << Long(0x00C8012C)
                                     << wheel << 8 << -120 << 300 << 200;
        // A monitor left of and above the primary one: -300 = 0xFED4, -10 = 0xFFF6.
        QTest::newRow("negative x") << AsIs << 0x020A << Long(0x00780000) << Long(0x00C8FED4)
                                    << wheel << 0 << 120 << -300 << 200;
        QTest::newRow("negative x and y") << AsIs << 0x020A << Long(0x00780000) << Long(0xFFF6FED4)
                                          << wheel << 0 << 120 << -300 << -10;
        QTest::newRow("keys: low byte only") << AsIs << 0x020A << Long(0x00780110)
                                             << Long(0x00000000) << wheel << 0x10 << 120 << 0 << 0;
        QTest::newRow("roll 240 is one notch")
            << AsRoll << 0 << 240 << Long(0x00C8012C) << wheel << 0 << 120 << 300 << 200;
        QTest::newRow("roll -1 is one notch back")
            << AsRoll << 0 << -1 << Long(0x00C8012C) << wheel << 0 << -120 << 300 << 200;
        QTest::newRow("roll 0 counts as away")
            << AsRoll << 0 << 0 << 0 << wheel << 0 << 120 << 0 << 0;
        QTest::newRow("roll keys ignored")
            << AsRoll << 0 << Long(0x00780008) << 0 << wheel << 0 << 120 << 0 << 0;
        // Client position (30, 40), middle button held.
        QTest::newRow("middle button") << AsIs << 0x0207 << 0x0010 << Long(0x0028001E)
                                       << ControlEvent::MButtonDown << 0x10 << 0 << 30 << 40;
        QTest::newRow("mouse move")
            << AsIs << 0x0200 << 0 << 0 << ControlEvent::None << 0 << 0 << 0 << 0;
        QTest::newRow("sideways wheel")
            << AsIs << 0x020E << Long(0x00780000) << 0 << ControlEvent::None << 0 << 0 << 0 << 0;
        // Before the roll message is registered its number is 0, which no message is.
        QTest::newRow("message 0, roll message unregistered")
            << Unregistered << 0 << 120 << 0 << ControlEvent::None << 0 << 0 << 0 << 0;
        QTest::newRow("middle button up")
            << AsIs << 0x0208 << 0 << 0 << ControlEvent::None << 0 << 0 << 0 << 0;
    }
    void decoding() {
        QFETCH(int, sent);
        QFETCH(qint32, uMsg);
        QFETCH(qint32, wParam);
        QFETCH(qint32, lParam);
        QFETCH(ControlEvent::Kind, kind);
        QFETCH(int, fwKeys);
        QFETCH(int, zDelta);
        QFETCH(int, Xpos);
        QFETCH(int, Ypos);
        const qint32 rollMessage = mIntelli::RegisterWindowMessageA("MSWHEEL_ROLLMSG");
        QVERIFY(rollMessage >= 0xC000);
        QCOMPARE(mIntelli::RegisterWindowMessageA("MSWHEEL_ROLLMSG"), rollMessage);
        const ControlEvent event = mIntelli::DecodeMessage(sent == 1 ? rollMessage : uMsg, wParam,
                                                           lParam, sent == 2 ? 0 : rollMessage);
        QCOMPARE(event.kind, kind);
        QCOMPARE(int(event.fwKeys), fwKeys);
        QCOMPARE(int(event.zDelta), zDelta);
        QCOMPARE(int(event.Xpos), Xpos);
        QCOMPARE(int(event.Ypos), Ypos);
    }

    void encoding_data() {
        QTest::addColumn<QPoint>("angleDelta");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("message");
        QTest::addColumn<qint32>("wParam");
        QTest::addColumn<qint32>("lParam");
        QTest::newRow("away") << QPoint(0, 120) << QPoint(300, 200) << 0 << 0 << true
                              << Long(0x00780000) << Long(0x00C8012C);
        QTest::newRow("toward with ctrl")
            << QPoint(0, -120) << QPoint(300, 200) << 0 << int(Qt::ControlModifier) << true
            << Long(0xFF880008) << Long(0x00C8012C);
        QTest::newRow("buttons and shift")
            << QPoint(0, 120) << QPoint(0, 0)
            << int(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton) << int(Qt::ShiftModifier)
            << true << Long(0x00780017) << 0;
        QTest::newRow("negative position") << QPoint(0, 120) << QPoint(-300, -10) << 0 << 0 << true
                                           << Long(0x00780000) << Long(0xFFF6FED4);
        QTest::newRow("huge turn away clamped")
            << QPoint(0, 40000) << QPoint(0, 0) << 0 << 0 << true << Long(0x7FFF0000) << 0;
        QTest::newRow("huge turn toward clamped")
            << QPoint(0, -40000) << QPoint(0, 0) << 0 << 0 << true << Long(0x80000000) << 0;
        QTest::newRow("sideways only")
            << QPoint(120, 0) << QPoint(0, 0) << 0 << 0 << false << 0 << 0;
        // Qt on X11 turns an Alt+wheel turn sideways; it stays the turn it was.
        QTest::newRow("toward with alt, handed over sideways")
            << QPoint(-120, 0) << QPoint(300, 200) << 0 << int(Qt::AltModifier) << true
            << Long(0xFF880000) << Long(0x00C8012C);
    }
    void encoding() {
        QFETCH(QPoint, angleDelta);
        QFETCH(QPoint, position);
        QFETCH(int, buttons);
        QFETCH(int, modifiers);
        QFETCH(bool, message);
        QFETCH(qint32, wParam);
        QFETCH(qint32, lParam);
        const auto encoded = mIntelli::EncodeWheel(angleDelta, position, Qt::MouseButtons(buttons),
                                                   Qt::KeyboardModifiers(modifiers));
        QCOMPARE(encoded.has_value(), message);
        if (message)
            QCOMPARE(*encoded, (WindowMessage{0x020A, wParam, lParam}));
    }

    void middleButtonEncoding() {
        const WindowMessage m =
            mIntelli::EncodeMiddleButtonDown(QPoint(30, 40), Qt::MiddleButton, Qt::ControlModifier);
        QCOMPARE(m, (WindowMessage{0x0207, 0x18, Long(0x0028001E)}));
    }

    // The control raises its events for the host's input and for nothing else, once per
    // turn.
    void controlOnItsHost() {
        QWidget host;
        auto* child = new QWidget(&host);
        host.resize(200, 100);
        child->setGeometry(10, 10, 50, 50);
        QWidget stranger;
        intelliMouse control(&host);
        QSignalSpy moved(&control, &intelliMouse::MoveWheel);
        QSignalSpy pressed(&control, &intelliMouse::MButtonDown);

        TurnWheel(child, -120, Qt::ControlModifier); // passed up from the child: one event
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][0].toInt(), 8);
        QCOMPARE(moved[0][1].toInt(), -120);
        TurnWheel(&stranger, 120);
        QCOMPARE(moved.size(), 1);

        QTest::mouseClick(child, Qt::MiddleButton, Qt::NoModifier, QPoint(3, 4));
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(pressed[0][1].toInt(), 13); // client position of the host
        QCOMPARE(pressed[0][2].toInt(), 14);
        QTest::mouseClick(child, Qt::LeftButton);
        QCOMPARE(pressed.size(), 1);
        QCOMPARE(moved.size(), 1);

        // The second protocol's message, registered when the control was made.
        control.CtlEvent(control.RollMessage(), 240, 0);
        QCOMPARE(moved.size(), 2);
        QCOMPARE(moved[1][1].toInt(), 120);
    }

    // A message that arrives while a handler runs goes on without an event, and re-opens
    // the way: a second one raises its event within the same handler.
    void busyFlag() {
        QWidget host;
        host.resize(100, 100);
        intelliMouse control(&host);
        int events = 0;
        bool nested = false;
        connect(&control, &intelliMouse::MoveWheel, &control, [&] {
            ++events;
            if (!nested) {
                nested = true;
                TurnWheel(&host, 120);
                TurnWheel(&host, 120);
            }
        });
        TurnWheel(&host, 120);
        QCOMPARE(events, 2);
        QVERIFY(!mIntelli::InWndProc);
        TurnWheel(&host, 120);
        QCOMPARE(events, 3);
    }

    // The wheel control does not keep the input from the widget under the pointer.
    void inputPassesOn() {
        struct Counter : QWidget {
            int wheels = 0;
            void wheelEvent(QWheelEvent* e) override {
                ++wheels;
                e->accept();
            }
        } host;
        host.resize(100, 100);
        intelliMouse control(&host);
        QSignalSpy moved(&control, &intelliMouse::MoveWheel);
        TurnWheel(&host, 120);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(host.wheels, 1);
    }
};

GLYFORA_TEST_MAIN(TestWheel)
#include "tst_wheel.moc"
