// Diagnostics are single lines on standard output.
#pragma once

#include <QString>

// Writes `line` and a newline to standard output as one write, then flushes.
// Line breaks inside `line` become spaces so that one call is one line.
void printLine(const QString& line);
