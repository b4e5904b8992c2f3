#include "cli/gen/stop_signal.hpp"

#include <csignal>

namespace dot11b::cli {
namespace {

// Lock-free, so setting it is safe in a signal handler.
std::atomic<bool> stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

struct sigaction previous_interrupt;
struct sigaction previous_terminate;

void request_stop(int) { stop_requested.store(true); }

}  // namespace

StopOnSignal::StopOnSignal() {
    stop_requested.store(false);
    struct sigaction action {};
    action.sa_handler = request_stop;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previous_interrupt);
    ::sigaction(SIGTERM, &action, &previous_terminate);
}

StopOnSignal::~StopOnSignal() {
    ::sigaction(SIGINT, &previous_interrupt, nullptr);
    ::sigaction(SIGTERM, &previous_terminate, nullptr);
}

const std::atomic<bool>& StopOnSignal::flag() const { return stop_requested; }

}  // namespace dot11b::cli
