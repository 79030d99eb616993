#include "CSV/CSVError.h"

namespace csv {

const char* CSVError::caseName(Kind kind) noexcept
{
    switch (kind) {
    case Kind::streamErrorHasOccurred: return "streamErrorHasOccurred";
    case Kind::cannotOpenFile: return "cannotOpenFile";
    case Kind::cannotReadFile: return "cannotReadFile";
    case Kind::cannotWriteStream: return "cannotWriteStream";
    case Kind::unicodeDecoding: return "unicodeDecoding";
    case Kind::cannotReadHeaderRow: return "cannotReadHeaderRow";
    case Kind::stringEncodingMismatch: return "stringEncodingMismatch";
    case Kind::stringEndianMismatch: return "stringEndianMismatch";
    }
    return "unknown";
}

} // namespace csv
