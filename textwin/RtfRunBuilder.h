// The RTF parser's text gathering: one string, '\n' between paragraphs, with runs of
// equal character state, kept within the reader's size limits.
#pragma once

#include "textwin/RtfParser.h"

#include <QHashFunctions>
#include <QString>
#include <QStringView>
#include <unordered_map>
#include <vector>

namespace mGlyfora {

// The character formatting in force while a file is read: font and colour by their
// numbers in the file's tables.
struct RtfCharState {
    int font = -1; // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int colour = -1; // -1: the view's own text colour
    bool operator==(const RtfCharState&) const = default;
};

// Thrown when the text passes RtfLimits' sizes; it ends the read with TooLong.
struct RtfPastLimits {};

class RtfRunBuilder {
public:
    explicit RtfRunBuilder(const RtfLimits& limits) : limits_(limits) {}

    // Adds `text` in `state`, without the characters a document takes for a line end:
    // lines end only at paragraph marks. Throws RtfPastLimits.
    void Append(QStringView text, const RtfCharState& state);
    // A paragraph mark. Throws RtfPastLimits as soon as the lines are too many.
    void Break();
    // Every distinct state of the text so far, in the order of their numbers.
    const std::vector<RtfCharState>& States() const { return states_; }
    // The text and its runs, a run's format the number of its state; `formats` is left
    // empty. The builder is spent.
    RtfText Finish();

private:
    struct StateHash {
        size_t operator()(const RtfCharState& s) const {
            return qHashMulti(0, s.font, s.halfPoints, s.bold, s.italic, s.underline, s.strike,
                              s.colour);
        }
    };

    int StateIndex(const RtfCharState& state);
    void AppendBreaks(qsizetype count);
    void CheckSize() const;

    const RtfLimits& limits_;
    QString text_;        // all of the text, '\n' between lines
    qsizetype lines_ = 0; // line ends in text_
    std::vector<RtfRun> runs_;
    std::vector<RtfCharState> states_;
    std::unordered_map<RtfCharState, int, StateHash> stateIndex_;
    qsizetype pendingBreaks_ = 0;
};

} // namespace mGlyfora
