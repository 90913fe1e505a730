#pragma once

#include <string>

namespace kivstudio {

class Studio;

// Performs a few real actions through the window system's event path (switch tabs, close
// and reopen a panel, maximize a frame, resize the window), checks after each that the
// layout tree and the frames changed as they should, and saves a screenshot into `dir`.
// Prints each screenshot's path and each check; returns the number of failed checks.
int RunTour(Studio& studio, const std::string& dir);

}  // namespace kivstudio
