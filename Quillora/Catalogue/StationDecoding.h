// Decoding a Station from the current row of a CSV reader with a header row:
// the five columns are found by name, every field must be present and
// non-empty, and "id" must be a decimal integer.
#pragma once

#include "Catalogue/Station.h"

#include <optional>

namespace csv {
class CSVReader;
}

std::optional<Station> decodeStation(const csv::CSVReader& reader);
