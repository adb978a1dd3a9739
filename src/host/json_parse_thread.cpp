// The loader thread's body.
#include "json_parse_thread.h"

#include "package_file.h"

namespace orvane {

void TJsonParseThread::run() {
    JSonValue = loadPackageFile(dateiname);
}

} // namespace orvane
