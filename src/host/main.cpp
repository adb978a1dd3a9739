// The engine's entry: the start window, whose timer runs the install package named after us.
#include "package_location.h"
#include "start_form.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Installer");
    // The run ends when main returns, not when the script closes its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    // The package is named after the file we were started as, a link's own name included.
    const char* searchPath = std::getenv("PATH");
    orvane::TForm1 form(orvane::startedExecutablePath(
        argc > 0 ? argv[0] : "", searchPath ? searchPath : "", "/proc/self/exe"));
    form.show();
    return QApplication::exec();
}
