// The native stack budget from the process's stack limit.
#include "native_stack.h"

#include <sys/resource.h>

namespace orvane {

std::size_t nativeStackBudget() {
    constexpr std::size_t kFallback = 8u << 20;
    rlimit limit{};
    std::size_t size = kFallback;
    if (::getrlimit(RLIMIT_STACK, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        size = static_cast<std::size_t>(limit.rlim_cur);
    return size / 2;
}

} // namespace orvane
