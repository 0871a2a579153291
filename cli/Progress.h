// glyfora-convert's progress over a batch: one line on a terminal, rewritten in place,
// and the messages of failed pictures written above it.
#pragma once

#include <QString>
#include <chrono>

namespace mGlyfora {

// "12/200 done, 1 failed, 0:05 elapsed, about 1:18 left". The time left is the average
// time per finished picture times those still to do; unknown ("--:--") before the first.
QString ProgressText(int done, int failed, int total, std::chrono::milliseconds elapsed);

// The line a finished batch leaves: "198 converted, 2 failed in 1:18".
QString SummaryText(int converted, int failed, std::chrono::milliseconds elapsed);

// Minutes and seconds ("1:05"), with hours when there are any ("1:00:05").
QString DurationText(std::chrono::seconds duration);

class ProgressLine {
public:
    // Writes to `fd`; the line itself only when `shown` (a terminal, more than one
    // picture and no --quiet).
    ProgressLine(int fd, int total, bool shown);

    // Redraws the line when the counts changed or a second has passed.
    void Update(int done, int failed);
    // One line of its own (a failed picture's message); the progress line follows it.
    void Message(const QString& line);
    // The batch's summary in place of the line, left on the terminal.
    void Finish(int done, int failed);

private:
    void Draw(bool force);
    void Write(const QString& text);

    int fd_;
    int total_;
    bool shown_;
    int done_ = 0;
    int failed_ = 0;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point lastDraw_;
    QString lastText_;
};

} // namespace mGlyfora
