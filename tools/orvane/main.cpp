// The `orvane` command for script authors: dispatches to its verbs.
#include "check_command.h"
#include "pack_command.h"
#include "reg_command.h"
#include "run_command.h"
#include "uninstall_command.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

void printUsage() {
    std::cerr << "usage: orvane check [--tokens] [--tree] FILE\n"
                 "       orvane run [--scenario FILE] [--yes] PACKAGE.ovsp | --script SCRIPT.ovs\n"
                 "       orvane pack [-o PACKAGE.ovsp] SCRIPT.ovs [ID=FILE ...]\n"
                 "       orvane reg query PATH | export HIVE | delete PATH\n"
                 "       orvane uninstall P [--dry-run] [--yes] [--json] [--verify]\n"
                 "       orvane repair P PACKAGE.ovsp\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage();
        return 2;
    }
    const std::string verb = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (verb == "check")
        return orvane::runCheckCommand(args);
    if (verb == "pack")
        return orvane::runPackCommand(args);
    if (verb == "run")
        return orvane::runRunCommand(args);
    if (verb == "reg")
        return orvane::runRegCommand(args);
    if (verb == "uninstall")
        return orvane::runUninstallCommand(args);
    if (verb == "repair")
        return orvane::runRepairCommand(args);
    std::cerr << "orvane: unknown command '" << verb << "'\n";
    printUsage();
    return 2;
}
