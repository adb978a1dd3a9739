// TranscriptObserver: reports every lasting change of a run as a transcript line.
#pragma once

#include "builtin_services.h"
#include "transcript.h"

#include <functional>
#include <string>

namespace orvane {

class TranscriptObserver : public InstallObserver {
  public:
    explicit TranscriptObserver(std::function<void(const std::string&)> printLine)
        : m_printLine(std::move(printLine)) {}

    void registryWritten(std::string_view path, std::string_view value) override {
        m_printLine(transcript::registryEvent(path, value));
    }
    void fileInstalled(std::string_view path, std::uint64_t bytes) override {
        m_printLine(transcript::fileEvent(path, bytes));
    }
    void linkCreated(std::string_view path, std::string_view target) override {
        m_printLine(transcript::linkEvent(path, target));
    }

  private:
    std::function<void(const std::string&)> m_printLine;
};

} // namespace orvane
