// When a failed catalogue is tried again: on a growing timer while there is
// nothing to show, at once when the network comes back or Retry is pressed,
// never after a success; one line per failed outcome.
#include "Catalogue/CatalogueRetry.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {

LoadFailure notFound()
{
    LoadFailure failure;
    failure.reason = LoadFailure::Reason::httpStatus;
    failure.httpStatus = 404;
    failure.source = QStringLiteral("docs.example.org");
    return failure;
}

} // namespace

class CatalogueRetryTests : public QObject {
    Q_OBJECT

private slots:
    void delaysGrowToTheCapWhileNothingIsShown()
    {
        CatalogueRetry retry(nullptr, 40ms, 150ms);
        QSignalSpy due(&retry, &CatalogueRetry::retryDue);
        StdoutCapture output;
        QList<CatalogueRetry::Duration> delays;
        for (int attempt = 0; attempt < 4; ++attempt) {
            retry.loadFailed(notFound(), false);
            QVERIFY(retry.isTimerRunning());
            delays.append(retry.scheduledDelay());
            QVERIFY(due.wait(2000));
        }
        QCOMPARE(due.count(), 4);
        const QList<QByteArray> lines = output.text().trimmed().split('\n');
        output.restore();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QByteArray("Could not load the stations from docs.example.org: the server answered 404; "
                                      "trying again in 40 ms"));
        QVERIFY(lines[3].endsWith("trying again in 150 ms"));
        QCOMPARE(delays, (QList<CatalogueRetry::Duration>{40ms, 80ms, 150ms, 150ms}));

        // A success stops the schedule and starts it over.
        retry.loadSucceeded();
        QVERIFY(!retry.isArmed());
        retry.networkCameBack();
        QCOMPARE(due.count(), 4);
        retry.loadFailed(notFound(), false);
        QCOMPARE(retry.scheduledDelay(), 40ms);
        retry.loadSucceeded();
        QVERIFY(!retry.isTimerRunning());
    }

    void theNetworkComingBackOrRetryTriesAtOnce()
    {
        CatalogueRetry retry(nullptr, std::chrono::minutes(1), std::chrono::minutes(5));
        QSignalSpy due(&retry, &CatalogueRetry::retryDue);
        StdoutCapture output;
        retry.loadFailed(notFound(), false);
        retry.networkCameBack();
        QCOMPARE(due.count(), 1);
        QVERIFY(!retry.isTimerRunning());
        retry.loadFailed(notFound(), false);
        retry.retryNow();
        QCOMPARE(due.count(), 2);
    }

    // Stored stations are on the screen: no timer, only the network.
    void storedStationsWaitForTheNetwork()
    {
        CatalogueRetry retry(nullptr, 20ms, 40ms);
        QSignalSpy due(&retry, &CatalogueRetry::retryDue);
        StdoutCapture output;
        retry.loadFailed(notFound(), true);
        QVERIFY(retry.isArmed() && !retry.isTimerRunning());
        QTest::qWait(100);
        QCOMPARE(due.count(), 0);
        retry.networkCameBack();
        QCOMPARE(due.count(), 1);
        QVERIFY(output.text().contains("showing the stored stations"));
    }
};

QTEST_GUILESS_MAIN(CatalogueRetryTests)
#include "CatalogueRetryTests.moc"
