// Diagnostics are single lines on standard output, the one channel the
// application and its libraries report through.
#pragma once

#include <QString>

// Writes `line` and a newline to standard output as one write, then flushes,
// so lines from several threads never interleave and appear in order even
// when standard output is a pipe. Line breaks inside `line` become spaces: a
// station name or a server's message cannot forge a second line.
void printLine(const QString& line);
