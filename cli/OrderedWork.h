// Work on several threads whose answers are taken in the order it was given: item i is
// delivered only after items 0..i-1, and no more than `window` items are ever between
// their start and the end of their delivery, so that at most that many answers are held.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace mGlyfora {

// Runs work(i) for i = 0 .. count-1 on `threads` threads and calls deliver(i, answer) on
// the calling thread in the order of i; deliver answering false stops the run (the items
// already started finish, no other starts). tick(done) is called on the calling thread
// whenever items finished, and at least once a second. Answers whether every item was
// delivered.
template <typename Answer>
bool RunInOrder(int count, int threads, int window, const std::function<Answer(int)>& work,
                const std::function<bool(int, Answer&)>& deliver,
                const std::function<void(int)>& tick) {
    window = std::max(1, window);
    std::vector<std::optional<Answer>> answers(static_cast<size_t>(count));
    std::mutex lock;
    std::condition_variable changed;
    int nextStart = 0, nextOut = 0, done = 0;
    bool stop = false;

    const auto worker = [&] {
        std::unique_lock held(lock);
        for (;;) {
            changed.wait(
                held, [&] { return stop || nextStart >= count || nextStart < nextOut + window; });
            if (stop || nextStart >= count)
                return;
            const int i = nextStart++;
            held.unlock();
            Answer answer = work(i);
            held.lock();
            answers[size_t(i)].emplace(std::move(answer));
            ++done;
            changed.notify_all();
        }
    };

    std::vector<std::jthread> pool;
    for (int t = std::clamp(threads, 1, std::max(1, count)); t > 0; --t)
        pool.emplace_back(worker);

    std::unique_lock held(lock);
    int shown = -1;
    while (nextOut < count && !stop) {
        changed.wait_for(held, std::chrono::seconds(1),
                         [&] { return answers[size_t(nextOut)].has_value() || done != shown; });
        while (nextOut < count && !stop && answers[size_t(nextOut)]) {
            Answer answer = std::move(*answers[size_t(nextOut)]);
            answers[size_t(nextOut)].reset();
            held.unlock();
            const bool more = deliver(nextOut, answer);
            held.lock();
            // The place in the window is free once the answer is gone.
            ++nextOut;
            stop = !more;
            changed.notify_all();
        }
        shown = done;
        held.unlock();
        tick(shown);
        held.lock();
    }
    const bool all = nextOut == count;
    stop = true;
    changed.notify_all();
    held.unlock();
    pool.clear(); // joins the workers
    return all;
}

} // namespace mGlyfora
