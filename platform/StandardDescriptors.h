// Descriptors 0 to 2 kept open: in a program started with one of them closed,
// the next file opened (such as the display connection) takes its number, and
// whatever a library then writes to standard error lands in that file.
#pragma once

namespace platform {

// Opens /dev/null on each of descriptors 0 to 2 that is closed. Called first
// in main, before anything else opens a file.
void OpenClosedStandardDescriptors();

}  // namespace platform
