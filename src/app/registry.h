#pragma once
// The one place that knows every subsystem: the program registers their windows at start.

namespace windows {

// Registers every window of the program (each subsystem's own function).
void registerAll();

} // namespace windows
