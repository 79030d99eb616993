#include "Diagnostics/Diagnostics.h"

#include <cstdio>

void printLine(const QString& line)
{
    QByteArray bytes = line.toUtf8();
    bytes.replace('\n', ' ').replace('\r', ' ');
    bytes.append('\n');
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}
