// Carrying out an uninstall plan step by step.
#pragma once

#include "uninstall_plan.h"

#include <cstddef>
#include <functional>

namespace orvane {

// Told after each step: how many are done, of how many, and the step as it ended.
using UninstallProgress =
    std::function<void(std::size_t done, std::size_t total, const UninstallStep& step)>;

// Judges each step again and carries it out, leaving in the step what happened and why. When a
// step failed, the uninstall data and its manifest are kept (so the uninstall can be run again)
// and so are the folders that hold them. Returns 0 when everything recorded is gone or kept for
// a stated reason, 1 when a step failed.
int carryOutUninstall(UninstallPlan& plan, UninstallContext& context,
                      const UninstallProgress& progress = nullptr);

// Whether a step of the plan has failed (or, before carrying it out, cannot be carried out).
bool anyFailed(const UninstallPlan& plan);

} // namespace orvane
