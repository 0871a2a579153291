// The progress line of glyfora-convert.
#include "cli/Progress.h"

#include "cli/ToolText.h"
#include "platform/FileNames.h"
#include "platform/WriteAll.h"

#include <unistd.h>

namespace mGlyfora {

using namespace std::chrono;

namespace {
// Back to the start of the line and clear it.
const QString ClearLine = QStringLiteral("\r\x1b[K");
} // namespace

QString DurationText(seconds duration) {
    const qint64 total = std::max<qint64>(0, duration.count());
    const qint64 h = total / 3600, m = total / 60 % 60, s = total % 60;
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    if (h > 0)
        return QStringLiteral("%1:%2:%3").arg(h).arg(two(m), two(s));
    return QStringLiteral("%1:%2").arg(m).arg(two(s));
}

QString ProgressText(int done, int failed, int total, milliseconds elapsed) {
    QString left = QStringLiteral("--:--");
    if (done > 0) {
        const qint64 ms = elapsed.count() * (total - done) / done;
        left = DurationText(duration_cast<seconds>(milliseconds(ms + 999)));
    }
    return ToolText::tr("%1/%2 done, %3 failed, %4 elapsed, about %5 left")
        .arg(done)
        .arg(total)
        .arg(failed)
        .arg(DurationText(duration_cast<seconds>(elapsed)), left);
}

QString SummaryText(int converted, int failed, milliseconds elapsed) {
    return ToolText::tr("%1 converted, %2 failed in %3")
        .arg(converted)
        .arg(failed)
        .arg(DurationText(duration_cast<seconds>(elapsed)));
}

ProgressLine::ProgressLine(int fd, int total, bool shown)
    : fd_(fd), total_(total), shown_(shown), start_(steady_clock::now()) {
    Draw(true);
}

void ProgressLine::Update(int done, int failed) {
    const bool changed = done != done_ || failed != failed_;
    done_ = done;
    failed_ = failed;
    Draw(changed);
}

void ProgressLine::Message(const QString& line) {
    Write((drawn_ ? ClearLine : QString()) + line + QLatin1Char('\n'));
    drawn_ = false;
    lastDraw_ = {};
    Draw(true);
}

void ProgressLine::Finish(int done, int failed) {
    if (shown_) {
        const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start_);
        Write((drawn_ ? ClearLine : QString()) + SummaryText(done - failed, failed, elapsed) +
              QLatin1Char('\n'));
    }
    drawn_ = false;
    shown_ = false;
}

void ProgressLine::Draw(bool force) {
    if (!shown_)
        return;
    const auto now = steady_clock::now();
    // A count that changed is shown at once, but a terminal gets at most ten lines a
    // second; the time alone moves once a second.
    if (now - lastDraw_ < (force ? milliseconds(100) : milliseconds(1000)))
        return;
    lastDraw_ = now;
    const QString text =
        ProgressText(done_, failed_, total_, duration_cast<milliseconds>(now - start_));
    if (drawn_ && text == lastText_)
        return;
    lastText_ = text;
    Write(ClearLine + text);
    drawn_ = true;
}

void ProgressLine::Write(const QString& text) {
    // Nowhere left to say it when this fails.
    platform::WriteAll(fd_, platform::EncodeFileName(text));
}

} // namespace mGlyfora
