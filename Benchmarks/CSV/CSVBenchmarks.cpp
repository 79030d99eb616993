// Decoding catalogue rows into records, and the field conversions alone.
#include "CSV/CSVRowDecoder.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

struct Station {
    std::int64_t id;
    std::string url, image, genre, title;

    CSV_CODING_KEYS(CodingKeys, id, url, image, genre, title)

    static Station decode(csv::Decoder& decoder)
    {
        auto c = decoder.container<CodingKeys>();
        return {c.decode<std::int64_t>(CodingKeys::id), c.decode<std::string>(CodingKeys::url),
                c.decode<std::string>(CodingKeys::image), c.decode<std::string>(CodingKeys::genre),
                c.decode<std::string>(CodingKeys::title)};
    }
};

std::string catalogue(int rows)
{
    std::string text = "id,url,image,genre,title\n";
    for (int i = 0; i < rows; ++i) {
        const std::string n = std::to_string(i);
        text += n + ",https://stream.example/" + n + ".mp3,https://img.example/" + n + ".png,Jazz,\"Station " + n
                + ", the best\"\n";
    }
    return text;
}

// Reading and decoding a catalogue, as the station loader does.
void decodeCatalogue(benchmark::State& state)
{
    const std::string text = catalogue(static_cast<int>(state.range(0)));
    const csv::CSVRowDecoder decoder;
    for (auto _ : state) {
        csv::CSVReader reader(text, true);
        std::int64_t sum = 0;
        while (reader.next())
            sum += decoder.decode<Station>(reader).id;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(decodeCatalogue)->Arg(1000)->Arg(100000);

void convertNumbers(benchmark::State& state)
{
    const std::string texts[] = {"123456789", "-42", "18446744073709551615", "3.14159", "-2.5e-3", "1e300"};
    for (auto _ : state) {
        for (const std::string& text : texts) {
            benchmark::DoNotOptimize(csv::detail::parseInteger<std::int64_t>(text));
            benchmark::DoNotOptimize(csv::detail::parseDouble(text));
        }
    }
    state.SetItemsProcessed(state.iterations() * 12);
}
BENCHMARK(convertNumbers);

} // namespace

BENCHMARK_MAIN();
