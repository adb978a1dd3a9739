// SIGBUS on a guarded package mapping: an orderly end with a message instead of a crash.
#include "mapped_file_guard.h"

#include <atomic>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace orvane {

namespace {

struct GuardedRange {
    std::atomic<std::uintptr_t> begin{0}; // 0: a free entry
    std::atomic<std::uintptr_t> end{0};
};

GuardedRange g_ranges[kMaxGuardedRanges];
std::mutex g_changing; // registration only; the handler reads the atomics
struct sigaction g_previous {};

constexpr char kMessage[] = "Paketdatei nicht mehr lesbar: sie wurde während des Laufs gekürzt, "
                            "ersetzt oder entfernt. Der Lauf endet.\n";

bool isGuarded(std::uintptr_t address) {
    for (const GuardedRange& range : g_ranges) {
        const std::uintptr_t begin = range.begin.load(std::memory_order_acquire);
        if (begin != 0 && address >= begin && address < range.end.load(std::memory_order_acquire))
            return true;
    }
    return false;
}

// Only async-signal-safe calls in here.
void onBusError(int signal, siginfo_t* info, void* context) {
    if (isGuarded(reinterpret_cast<std::uintptr_t>(info->si_addr))) {
        [[maybe_unused]] const ssize_t ignored =
            ::write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
        ::_exit(1);
    }
    // Not ours: whoever handled SIGBUS before us, else the default action once the fault repeats.
    if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
        g_previous.sa_sigaction(signal, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
    } else {
        ::signal(SIGBUS, SIG_DFL);
    }
}

void installHandler() {
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &g_previous);
}

} // namespace

bool guardMappedRange(const void* begin, std::size_t length) {
    static std::once_flag installed;
    std::call_once(installed, installHandler);
    const std::lock_guard<std::mutex> lock(g_changing);
    for (GuardedRange& range : g_ranges) {
        if (range.begin.load(std::memory_order_relaxed) != 0)
            continue;
        const auto first = reinterpret_cast<std::uintptr_t>(begin);
        range.end.store(first + length, std::memory_order_release);
        range.begin.store(first, std::memory_order_release);
        return true;
    }
    return false;
}

void unguardMappedRange(const void* begin) {
    const std::lock_guard<std::mutex> lock(g_changing);
    for (GuardedRange& range : g_ranges) {
        if (range.begin.load(std::memory_order_relaxed) == reinterpret_cast<std::uintptr_t>(begin))
            range.begin.store(0, std::memory_order_release);
    }
}

} // namespace orvane
