// The RTF parser's text gathering. Paragraph marks wait until text follows them, so the
// last one ends the last line rather than starting another.
#include "textwin/RtfRunBuilder.h"

#include <utility>

namespace mGlyfora {

void RtfRunBuilder::Append(QStringView text, const RtfCharState& state) {
    if (runs_.empty() || states_[std::size_t(runs_.back().format)] != state)
        runs_.push_back(RtfRun{StateIndex(state), 0});
    if (pendingBreaks_ > 0)
        AppendBreaks(std::exchange(pendingBreaks_, 0));
    // Every character the view holds belongs, control characters included; line ends
    // come only from the paragraph marks, so the characters a document takes for one
    // do not.
    const auto belongs = [](QChar c) {
        return c != u'\n' && c != u'\r' && c != QChar::ParagraphSeparator && c != QChar(0xFDD0) &&
               c != QChar(0xFDD1);
    };
    const qsizetype before = text_.size();
    qsizetype clean = 0;
    while (clean < text.size() && belongs(text[clean]))
        ++clean;
    text_ += text.first(clean);
    for (qsizetype i = clean; i < text.size(); ++i) {
        if (belongs(text[i]))
            text_ += text[i];
    }
    runs_.back().length += text_.size() - before;
    CheckSize();
}

void RtfRunBuilder::Break() {
    ++pendingBreaks_;
    // Every pending break but a last one makes a line; give up as soon as that is too many.
    if (lines_ + pendingBreaks_ > limits_.maxLines)
        throw RtfPastLimits();
}

RtfText RtfRunBuilder::Finish() {
    // The empty lines before the last paragraph mark are kept in the format of the text
    // before them.
    if (pendingBreaks_ > 1) {
        if (runs_.empty())
            runs_.push_back(RtfRun{StateIndex(RtfCharState()), 0});
        AppendBreaks(pendingBreaks_ - 1);
    }
    pendingBreaks_ = 0;
    return RtfText{std::move(text_), {}, std::move(runs_)};
}

int RtfRunBuilder::StateIndex(const RtfCharState& state) {
    const auto [found, added] = stateIndex_.try_emplace(state, int(states_.size()));
    if (added)
        states_.push_back(state);
    return found->second;
}

void RtfRunBuilder::AppendBreaks(qsizetype count) {
    text_.resize(text_.size() + count, u'\n');
    runs_.back().length += count;
    lines_ += count;
}

void RtfRunBuilder::CheckSize() const {
    if (text_.size() > limits_.maxCharacters || lines_ + 1 > limits_.maxLines)
        throw RtfPastLimits();
}

} // namespace mGlyfora
