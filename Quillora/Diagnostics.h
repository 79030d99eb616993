// Diagnostics are single lines on standard output, flushed at once so that
// they appear in order even when standard output is a pipe.
#pragma once

#include <QString>

#include <cstdio>

inline void printLine(const QString& line)
{
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
