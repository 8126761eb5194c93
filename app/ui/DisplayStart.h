#pragma once
// Opening the display. Without one, or with one that cannot be reached, the
// program says so in one plain line on stderr and ends with kNoDisplayExit,
// rather than with the toolkit's several lines and an abort.

#include <QApplication>
#include <memory>

namespace farsend {

inline constexpr int kNoDisplayExit = 2;

// The application on the session's display (argc and argv as QApplication
// takes them: they must outlive it), or null once the line has been written.
std::unique_ptr<QApplication> openDisplay(int& argc, char** argv);

}  // namespace farsend
