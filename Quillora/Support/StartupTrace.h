// Start-up milestones for the benchmark: when main() turns the trace on
// (QUILLORA_TRACE_STARTUP=1) each milestone prints "startup: <name> <ms>"
// once, the milliseconds counted from the start of main().
#pragma once

namespace StartupTrace {

// Starts the clock; `enabled` turns the printing on. First thing in main().
void start(bool enabled);
bool enabled();
// Prints the milestone the first time it is reached; later calls do nothing.
// Any thread.
void mark(const char* name);

} // namespace StartupTrace
