// The `orvane` command for script authors: dispatches to its verbs.
#include "bundle_command.h"
#include "check_command.h"
#include "pack_command.h"
#include "reg_command.h"
#include "run_command.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

namespace {

void printUsage() {
    std::cerr << "usage: orvane check [--tokens] [--tree] FILE\n"
                 "       orvane run [--scenario FILE] [--yes] PACKAGE.ovsp | --script SCRIPT.ovs\n"
                 "       orvane pack [-o PACKAGE.ovsp] SCRIPT.ovs [ID=FILE ...]\n"
                 "       orvane bundle [-o OUT] [--level N] PACKAGE.ovsp\n"
                 "       orvane reg query PATH | export HIVE | delete PATH\n";
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
    if (verb == "bundle") {
        CLI::App orvane("orvane");
        int status = 0;
        orvane::addBundleCommand(orvane, status);
        try {
            orvane.parse(argc, argv);
        } catch (const CLI::ParseError& error) {
            return orvane.exit(error) == 0 ? 0 : 2;
        }
        return status;
    }
    if (verb == "reg")
        return orvane::runRegCommand(args);
    std::cerr << "orvane: unknown command '" << verb << "'\n";
    printUsage();
    return 2;
}
