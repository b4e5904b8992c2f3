#pragma once
// Runs independent jobs on a few threads and hands their results over in the
// order of the jobs, on the calling thread. Only a bounded number of results
// wait at any time, so memory follows the number of threads, not of jobs.

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace dot11b::analyzer {

// Runs job(0) ... job(count - 1) and calls deliver(i, result) for each in
// turn. A job's exception stops the rest and reaches the caller.
template <typename Result>
void run_in_order(std::size_t count, unsigned threads, const std::function<Result(std::size_t)>& job,
                  const std::function<void(std::size_t, Result&&)>& deliver) {
    if (threads <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) deliver(i, job(i));
        return;
    }
    struct Outcome {
        std::optional<Result> result;
        std::exception_ptr error;
    };
    // Jobs run at most this far ahead of the result being delivered: room for
    // a thread that finishes early to start another job instead of waiting.
    const std::size_t ahead = 2 * std::size_t{threads};
    std::mutex mutex;
    std::condition_variable changed;
    std::map<std::size_t, Outcome> finished;
    std::size_t next = 0;
    std::size_t delivered = 0;
    bool stop = false;

    const auto work = [&] {
        for (;;) {
            std::size_t i = 0;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || next >= count || next < delivered + ahead; });
                if (stop || next >= count) return;
                i = next++;
            }
            Outcome outcome;
            try {
                outcome.result.emplace(job(i));
            } catch (...) {
                outcome.error = std::current_exception();
            }
            {
                const std::lock_guard lock(mutex);
                finished.emplace(i, std::move(outcome));
            }
            changed.notify_all();
        }
    };
    std::vector<std::jthread> pool;
    const auto halt = [&] {
        {
            const std::lock_guard lock(mutex);
            stop = true;
        }
        changed.notify_all();
    };
    try {
        for (unsigned t = 0; t < threads; ++t) pool.emplace_back(work);
        while (delivered < count) {
            Outcome outcome;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return finished.count(delivered) > 0; });
                auto found = finished.find(delivered);
                outcome = std::move(found->second);
                finished.erase(found);
            }
            if (outcome.error) std::rethrow_exception(outcome.error);
            deliver(delivered, std::move(*outcome.result));
            {
                const std::lock_guard lock(mutex);
                ++delivered;
            }
            changed.notify_all();
        }
    } catch (...) {
        halt();
        throw;
    }
}

}  // namespace dot11b::analyzer
