// The `orvane` command for script authors.
#include "command_line.h"

int main(int argc, char** argv) {
    return orvane::runOrvane({argv + 1, argv + argc});
}
