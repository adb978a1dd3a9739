// Builds the command line from the commands' own descriptions, parses it and runs the chosen one.
// A command adds itself as a CLI11 subcommand whose callback stores its exit status; to add a
// command, write its add function beside its code and list it in kCommands.
#include "command_line.h"

#include "bundle_command.h"
#include "check_command.h"
#include "pack_command.h"
#include "reg_command.h"
#include "run_command.h"
#include "uninstall_command.h"
#include "verify_command.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <memory>

namespace orvane {

namespace {

constexpr int kExitUsage = 2;

using AddCommand = void (*)(CLI::App& orvane, int& status);

constexpr AddCommand kCommands[] = {
    addCheckCommand,  addRunCommand, addPackCommand,      addVerifyCommand,
    addBundleCommand, addRegCommand, addUninstallCommand, addRepairCommand,
};

const CLI::App* findCommand(const CLI::App& orvane, const std::string& name) {
    const auto matches = orvane.get_subcommands(
        [&name](const CLI::App* command) { return command->get_name() == name; });
    return matches.empty() ? nullptr : matches.front();
}

// `orvane help [COMMAND]`: the same text as `orvane [COMMAND] --help`.
void addHelpCommand(CLI::App& orvane, int& status) {
    auto topic = std::make_shared<std::string>();
    CLI::App* help = orvane.add_subcommand("help", "Show the help of orvane or of one command");
    help->add_option("command", *topic, "The command to explain");
    help->callback([&orvane, topic, &status] {
        const CLI::App* command = topic->empty() ? &orvane : findCommand(orvane, *topic);
        if (command == nullptr)
            throw CLI::ValidationError("help", "unknown command '" + *topic + "'");
        // orvane's own text straight from the formatter: help() would describe `help` itself.
        std::cout << (command == &orvane ? orvane.get_formatter()->make_help(
                                               &orvane, "orvane", CLI::AppFormatMode::Normal)
                                         : command->help("orvane"));
        status = 0;
    });
}

std::unique_ptr<CLI::App> makeCommandLine(int& status) {
    auto orvane = std::make_unique<CLI::App>(
        "Tools for writing, testing and shipping install scripts.", "orvane");
    orvane->set_version_flag("--version", "orvane " ORVANE_VERSION);
    orvane->require_subcommand(1);
    orvane->get_formatter()->label("SUBCOMMAND", "COMMAND");
    for (const AddCommand add : kCommands)
        add(*orvane, status);
    addHelpCommand(*orvane, status);
    for (CLI::App* command : orvane->get_subcommands([](const CLI::App*) { return true; }))
        command->group("Commands");
    return orvane;
}

} // namespace

int runOrvane(const std::vector<std::string>& args) {
    int status = 0;
    const auto orvane = makeCommandLine(status);
    std::vector<std::string> reversed(args.rbegin(), args.rend()); // CLI11 takes them back to front
    try {
        orvane->parse(reversed);
    } catch (const CLI::Success& done) {
        return orvane->exit(done);
    } catch (const CLI::ParseError& error) {
        // The usage of the command that went wrong, or of orvane when none was recognised.
        std::cerr << "orvane: " << error.what() << "\n\n" << orvane->help();
        return kExitUsage;
    }
    return status;
}

} // namespace orvane
