// The list of named temporary files is a fixed array of slots, so that a signal handler can walk
// it without taking a lock or allocating: only unlink(2), signal(2) and raise(3) run inside it.
#include "temporary_names.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace orvane {

namespace {

enum SlotState : int { kFree, kFilling, kArmed };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};

std::array<Slot, RemovalOnSignal::kSlots> slots;

// The actions in place before ours, indexed by signal number.
struct sigaction previousTerm {};
struct sigaction previousInt {};

struct sigaction& previousFor(int signal) {
    return signal == SIGINT ? previousInt : previousTerm;
}

void removeGuardedFiles() {
    for (Slot& slot : slots)
        if (slot.state.load(std::memory_order_acquire) == kArmed)
            ::unlink(slot.path);
}

void onTerminatingSignal(int signal, siginfo_t* info, void* context) {
    removeGuardedFiles();
    const struct sigaction& previous = previousFor(signal);
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
        previous.sa_sigaction(signal, info, context);
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN &&
               previous.sa_handler != nullptr) {
        previous.sa_handler(signal);
    } else if (previous.sa_handler == SIG_DFL) {
        // The signal is blocked while this handler runs; re-raised with the default action it
        // ends the process as soon as the handler returns.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
}

void installHandlers() {
    struct sigaction action {};
    action.sa_sigaction = onTerminatingSignal;
    action.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGTERM, &action, &previousTerm);
    ::sigaction(SIGINT, &action, &previousInt);
}

} // namespace

std::string temporaryNameIn(const std::string& folder) {
    static std::atomic<unsigned> counter{0};
    return folder + "/.orvane-" + std::to_string(::getpid()) + '-' + std::to_string(counter++) +
           ".tmp";
}

void RemovalOnSignal::arm(const std::string& path) {
    release();
    static std::once_flag installed;
    std::call_once(installed, installHandlers);
    if (path.size() >= PATH_MAX)
        return;
    for (int k = 0; k < kSlots; ++k) {
        int expected = kFree;
        if (slots[k].state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(slots[k].path, path.c_str(), path.size() + 1);
            slots[k].state.store(kArmed, std::memory_order_release);
            m_slot = k;
            return;
        }
    }
}

void RemovalOnSignal::release() {
    if (m_slot >= 0)
        slots[m_slot].state.store(kFree, std::memory_order_release);
    m_slot = -1;
}

} // namespace orvane
