// Static analysis of a parsed script: the traps that pass the syntax check and fail, or
// quietly do something else, on the user's machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

struct tNode;
class PackageDocument;

struct AnalysisWarning {
    std::uint32_t line = 0;
    std::uint32_t column = 0;
    std::string kind; // precedence, type, arguments, undeclared, return, handler, control, package
    std::string message;
    std::string hint;
};

// Warnings for the syntax tree under `root`, in the order of the functions and statements they
// concern. With `package`, package paths and picture ids written as constants are looked up in
// it too.
std::vector<AnalysisWarning> analyseScript(const tNode* root, const PackageDocument* package);

} // namespace orvane
