// The catalogue's costs where a person would feel them: the start-up path
// with a stored catalogue (open the store, read the stations) must fit well
// inside the time before a first frame; parsing a large downloaded or local
// catalogue runs on a worker but bounds how soon cards appear; an edit of
// My stations rewrites and flushes the whole file.
#include "Store/Database.h"
#include "Catalogue/CatalogueFile.h"
#include "Catalogue/CatalogueTable.h"
#include "Store/StateStore.h"

#include <QCoreApplication>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString catalogueText(int stations)
{
    QString text = QStringLiteral("id,url,image,genre,title,uuid\n");
    for (int i = 1; i <= stations; ++i)
        text += QStringLiteral("%1,https://stream%1.example.org/live.mp3,https://logos.example.org/%1.png,Genre %2,"
                               "Station %1 Ö,%3\n")
                    .arg(i)
                    .arg(i % 17)
                    .arg(i * 7919);
    return text;
}

QList<StoredStation> rowsOf(int count)
{
    QList<StoredStation> rows;
    // Named: a range over a member of the parse's temporary would dangle.
    const auto parsed = CatalogueTable::parse(catalogueText(count).toUtf8());
    for (const Station& s : parsed.table->stations)
        rows.append(StoredStation{s.id, s.url, s.image, s.genre, s.title, s.uuid});
    return rows;
}

void parseUtf8(benchmark::State& state)
{
    const QByteArray bytes = catalogueText(int(state.range(0))).toUtf8();
    for (auto _ : state)
        benchmark::DoNotOptimize(CatalogueTable::parse(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void parseUtf16(benchmark::State& state)
{
    QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const QByteArray bytes = encoder(catalogueText(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(CatalogueTable::parse(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// Open the store and read the stored catalogue, as a start does.
void storedCatalogueAtStart(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString address = QStringLiteral("https://docs.example.org/pub?output=csv");
    {
        Database container(QStringLiteral("Quillora"), folder.path());
        container.load([](const Database::StoreError*) {});
        StateStore store(container);
        store.setLastGoodCatalogue(address, rowsOf(int(state.range(0))));
        store.save();
    }
    for (auto _ : state) {
        Database container(QStringLiteral("Quillora"), folder.path());
        container.load([](const Database::StoreError*) {});
        StateStore store(container);
        benchmark::DoNotOptimize(store.lastGoodCatalogue(address));
        benchmark::DoNotOptimize(store.selectedStationId(address));
    }
}

// One edit of My stations: read, change, write, flush, rename.
void editMyStations(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("stations.csv"));
    CatalogueFile::writeAtomically(path, catalogueText(int(state.range(0))).toUtf8());
    CatalogueFile file(path);
    int n = 0;
    for (auto _ : state)
        file.edit(1, {.title = QStringLiteral("Edited %1").arg(++n)});
}

} // namespace

BENCHMARK(parseUtf8)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(parseUtf16)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(storedCatalogueAtStart)->Arg(16)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(editMyStations)->Arg(16)->Arg(1000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
