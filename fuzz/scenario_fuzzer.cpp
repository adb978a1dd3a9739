// Arbitrary bytes as an answer file: parsing yields actions, each with its position text.
#include "scenario.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    Scenario scenario =
        Scenario::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    std::size_t left = scenario.remaining();
    while (const auto action = scenario.next()) {
        (void)action->where();
        if (action->verb.empty() || left-- == 0)
            std::abort(); // an action without a verb, or more actions than were counted
    }
    return 0;
}
