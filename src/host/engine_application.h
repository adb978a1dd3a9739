// The engine's QApplication, on a display or (for runs without windows) offscreen.
#pragma once

#include <QApplication>

#include <memory>
#include <string>

namespace orvane {

// Makes the application: on Qt's offscreen platform when `offscreen`, else on the display.
// Without a usable display it writes one line on stderr (naming --answers) and ends the
// process with exit status 1, instead of letting Qt abort.
std::unique_ptr<QApplication> makeEngineApplication(bool offscreen, const std::string& program);

} // namespace orvane
