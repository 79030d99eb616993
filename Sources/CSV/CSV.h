// The CSV library: reading CSV from text or byte streams in any Unicode
// encoding, decoding rows into records by column name, and writing CSV.
// Users include this header (or the public headers it names).
#pragma once

#include "CSV/BinaryReader.h"
#include "CSV/CSVCodingKey.h"
#include "CSV/CSVDecodingError.h"
#include "CSV/CSVError.h"
#include "CSV/CSVKeyedDecodingContainer.h"
#include "CSV/CSVReader.h"
#include "CSV/CSVRowDecoder.h"
#include "CSV/CSVWriter.h"
#include "CSV/FileStreams.h"
#include "CSV/MemoryStreams.h"
#include "CSV/UnicodeBOM.h"
