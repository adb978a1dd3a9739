// Uninstalling, verifying and planning on a terminal.
#include "terminal_uninstall.h"

#include "install_record.h"
#include "json_output.h"
#include "uninstall_report.h"
#include "uninstall_run.h"
#include "verify.h"

#include <iostream>

namespace orvane {

namespace {

std::string findingsJson(const InstallRecord& record, const std::vector<FileFinding>& findings) {
    std::string json = "{\"uninstallData\":" + jsonString(record.uninstallData) +
                       ",\"manifest\":" + (record.manifest ? "true" : "false") + ",\"findings\":[";
    for (std::size_t i = 0; i < findings.size(); ++i)
        json += std::string(i == 0 ? "" : ",") + "{\"path\":" + jsonString(findings[i].path) +
                ",\"state\":\"" + fileStateJson(findings[i].state) + "\"}";
    return json + "]}\n";
}

int verify(const UninstallOptions& options, std::ostream& out, std::ostream& err) {
    std::string error;
    const auto record = loadInstallRecord(options.uninstallData, error);
    if (!record) {
        err << error << '\n';
        return 1;
    }
    const auto findings = verifyInstallation(*record);
    out << (options.json ? findingsJson(*record, findings) : verificationText(*record, findings));
    return findings.empty() ? 0 : 1;
}

bool confirmed(std::istream& in, std::ostream& err) {
    err << "Deinstallation ausführen? [j/N] " << std::flush;
    std::string answer;
    std::getline(in, answer);
    for (char& c : answer)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "j" || answer == "ja";
}

} // namespace

int runTerminalUninstall(const UninstallOptions& options, UninstallContext& context,
                         std::istream& in, std::ostream& out, std::ostream& err) {
    if (options.verify)
        return verify(options, out, err);
    std::string error;
    auto plan = planUninstall(options.uninstallData, context, error);
    if (!plan) {
        err << error << '\n';
        return 1;
    }
    const int planStatus = anyFailed(*plan) ? 1 : 0;
    if (options.dryRun) {
        out << (options.json ? uninstallJson(*plan, true, planStatus)
                             : uninstallText(*plan, false));
        return planStatus;
    }
    if (!options.yes) {
        (options.json ? err : out) << uninstallText(*plan, false);
        if (!confirmed(in, err)) {
            err << "Abgebrochen: nichts wurde geändert.\n";
            return kUninstallCancelled;
        }
    }
    const int status = carryOutUninstall(*plan, context);
    out << (options.json ? uninstallJson(*plan, false, status) : uninstallText(*plan, true));
    return status;
}

} // namespace orvane
