// TJsonParseThread: loads the install package on a worker thread.
#pragma once

#include "json_reader.h"

#include <QThread>

#include <string>

namespace orvane {

// Reads, decodes and parses the package file named by `dateiname`. It touches
// nothing but its own fields; the start form takes `JSonValue` over once the
// thread has finished (its finished() signal arrives on the main thread).
class TJsonParseThread : public QThread {
    Q_OBJECT
  public:
    explicit TJsonParseThread(QObject* parent = nullptr) : QThread(parent) {}

    std::string dateiname;
    LoadedJson JSonValue; // no document (and the reason) until run() stored one

  protected:
    void run() override;
};

} // namespace orvane
