// The terminal's background colour, asked with OSC 11, and the paper it gives.
#include "cli/TerminalPaper.h"

#include "platform/HeldSignals.h"
#include "platform/WriteAll.h"

#include <QByteArray>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace mGlyfora {

using namespace std::chrono;

namespace {

// The background colour, then the device attributes (DA1).
constexpr char Question[] = "\x1b]11;?\x1b\\\x1b[c";
// More than any answer to the two questions: the rest is not ours to read.
constexpr qsizetype MostReplyBytes = 1024;

// The device attributes' answer: ESC [ ? digits and semicolons c.
bool AttributesInReply(QByteArrayView reply) {
    for (qsizetype at = reply.indexOf("\x1b[?"); at >= 0; at = reply.indexOf("\x1b[?", at + 1)) {
        qsizetype i = at + 3;
        while (i < reply.size() && (std::isdigit(uchar(reply[i])) || reply[i] == ';'))
            ++i;
        if (i < reply.size() && reply[i] == 'c')
            return true;
    }
    return false;
}

std::optional<double> Component(QByteArrayView hex) {
    if (hex.isEmpty() || hex.size() > 4)
        return std::nullopt;
    int value = 0;
    for (const char c : hex) {
        const int digit = std::isdigit(uchar(c)) ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + digit;
    }
    return value / double((1 << (4 * hex.size())) - 1);
}

double Linear(double component) {
    return component <= 0.04045 ? component / 12.92 : std::pow((component + 0.055) / 1.055, 2.4);
}

// The terminal quiet while it answers: no echo, no waiting for a line. Undone in this
// order: the terminal's mode as it was, then the signals held meanwhile delivered (a
// termination signal ends the process only after the mode is back).
class QuietTerminal {
public:
    explicit QuietTerminal(int tty) : tty_(tty) {
        if (!held_.Holding() || ::tcgetattr(tty, &saved_) != 0)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= tcflag_t(~(ICANON | ECHO));
        quiet.c_cc[VMIN] = 0;
        quiet.c_cc[VTIME] = 0;
        quiet_ = ::tcsetattr(tty, TCSANOW, &quiet) == 0;
    }
    ~QuietTerminal() {
        if (quiet_)
            ::tcsetattr(tty_, TCSANOW, &saved_);
    }
    QuietTerminal(const QuietTerminal&) = delete;
    QuietTerminal& operator=(const QuietTerminal&) = delete;
    bool Quiet() const { return quiet_; }

private:
    // Destroyed last: the signals are delivered once the mode is back.
    platform::HeldSignals held_;
    int tty_;
    termios saved_{};
    bool quiet_ = false;
};

// The reply to the question, as far as it came before the deadline.
QByteArray Ask(int tty, milliseconds wait) {
    QByteArray reply;
    const QuietTerminal quiet(tty);
    if (!quiet.Quiet() || !platform::WriteAll(tty, Question))
        return reply;
    const auto deadline = steady_clock::now() + wait;
    while (!AttributesInReply(reply) && reply.size() < MostReplyBytes) {
        const milliseconds left = ceil<milliseconds>(deadline - steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd ready{tty, POLLIN, 0};
        const int polled = ::poll(&ready, 1, int(left.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        char chunk[256];
        const ssize_t n = ::read(tty, chunk, sizeof chunk);
        if (n > 0)
            reply.append(chunk, n);
        else if (n == 0 || (errno != EINTR && errno != EAGAIN))
            break;
    }
    return reply;
}

} // namespace

std::optional<std::array<double, 3>> BackgroundInReply(QByteArrayView reply) {
    const qsizetype start = reply.indexOf("\x1b]11;");
    if (start < 0)
        return std::nullopt;
    QByteArrayView body = reply.sliced(start + 5);
    const qsizetype bell = body.indexOf('\a');
    const qsizetype st = body.indexOf("\x1b\\");
    const qsizetype end = bell < 0 ? st : st < 0 ? bell : std::min(bell, st);
    if (end < 0)
        return std::nullopt;
    body = body.first(end);
    qsizetype parts = 3;
    if (body.startsWith("rgb:")) {
        body = body.sliced(4);
    } else if (body.startsWith("rgba:")) {
        body = body.sliced(5);
        parts = 4;
    } else {
        return std::nullopt;
    }
    std::array<double, 3> rgb{};
    qsizetype i = 0;
    for (qsizetype from = 0; from <= body.size(); ++i) {
        qsizetype to = body.indexOf('/', from);
        if (to < 0)
            to = body.size();
        const std::optional<double> value = Component(body.sliced(from, to - from));
        if (!value || i >= parts)
            return std::nullopt;
        if (i < 3)
            rgb[size_t(i)] = *value;
        from = to + 1;
    }
    if (i != parts)
        return std::nullopt;
    return rgb;
}

ArtPaper PaperOfColour(const std::array<double, 3>& rgb) {
    // Rec. 709 luminance of the linear components, then CIE L*.
    const double y = 0.2126 * Linear(rgb[0]) + 0.7152 * Linear(rgb[1]) + 0.0722 * Linear(rgb[2]);
    const double lightness = y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : y * 24389 / 27;
    return lightness > 50 ? ArtPaper::Light : ArtPaper::Dark;
}

std::optional<ArtPaper> AskTerminalPaper(int out, milliseconds wait) {
    // The output is the controlling terminal when the terminal's session is ours.
    const pid_t session = ::getsid(0);
    if (out < 0 || session < 0 || ::tcgetsid(out) != session)
        return std::nullopt;
    // A descriptor of its own, so that standard input and output keep their modes.
    const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (tty < 0)
        return std::nullopt;
    std::optional<ArtPaper> paper;
    if (::tcgetpgrp(tty) == ::getpgrp()) {
        if (const auto colour = BackgroundInReply(Ask(tty, wait)))
            paper = PaperOfColour(*colour);
    }
    ::close(tty);
    return paper;
}

ArtPaper ChoosePaper(BackgroundWhen when, bool artOnTerminal, bool coloured, int out) {
    if (when == BackgroundWhen::Dark)
        return ArtPaper::Dark;
    if (when == BackgroundWhen::Light)
        return ArtPaper::Light;
    if (artOnTerminal) {
        // Common terminals answer well within this; one that does not is taken as dark,
        // as most terminals are.
        return AskTerminalPaper(out, milliseconds(100)).value_or(ArtPaper::Dark);
    }
    return coloured ? ArtPaper::Dark : ArtPaper::Light;
}

} // namespace mGlyfora
