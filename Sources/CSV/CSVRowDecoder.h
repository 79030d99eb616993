#pragma once

#include "CSV/CSVDecoder.h"
#include "CSV/CSVKeyedDecodingContainer.h"
#include "CSV/CSVReader.h"
#include "CSV/CSVRowDecoderStrategies.h"

namespace csv {

// Turns the current row of a CSVReader into a record. The record type
// describes its own decoding:
//
//     struct Station {
//         std::int64_t id;
//         std::string url, image, genre, title;
//
//         CSV_CODING_KEYS(CodingKeys, id, url, image, genre, title)
//
//         static Station decode(csv::Decoder& decoder)
//         {
//             auto c = decoder.container<CodingKeys>();
//             return {c.decode<std::int64_t>(CodingKeys::id), c.decode<std::string>(CodingKeys::url),
//                     c.decode<std::string>(CodingKeys::image), c.decode<std::string>(CodingKeys::genre),
//                     c.decode<std::string>(CodingKeys::title)};
//         }
//     };
//
//     Station station = csv::CSVRowDecoder().decode<Station>(reader);
//
// Braced initialisation runs in order, so fields decode left to right and
// the first failure is the one reported. Failures are csv::DecodingError;
// the reader is never advanced.
//
// Field types: bool, std::string, double, float, every integer type,
// csv::Date, csv::Data, csv::URL, csv::Decimal, and any Decodable type,
// which reads the same row. An empty field is a missing value.
class CSVRowDecoder {
public:
    using BoolDecodingStrategy = csv::BoolDecodingStrategy;
    using DateDecodingStrategy = csv::DateDecodingStrategy;
    using DataDecodingStrategy = csv::DataDecodingStrategy;

    BoolDecodingStrategy boolDecodingStrategy;
    DateDecodingStrategy dateDecodingStrategy;
    DataDecodingStrategy dataDecodingStrategy;
    UserInfo userInfo;

    // The settings are copied at the start, so a decode in progress never
    // sees them change.
    template <Decodable T>
    T decode(const CSVReader& reader) const
    {
        Decoder decoder(reader, DecoderOptions{boolDecodingStrategy, dateDecodingStrategy, dataDecodingStrategy, userInfo});
        return T::decode(decoder);
    }
};

} // namespace csv
