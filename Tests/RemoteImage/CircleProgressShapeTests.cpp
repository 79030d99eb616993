// The arc of the progress views: its angles from progress and damping (the
// path it strokes is checked on screen by RemoteImageViewTests).
#include "RemoteImage/ImageLoader/Views/CircleProgressShape.h"

#include <QtTest>

#include <cmath>

using namespace remoteimage;

class CircleProgressShapeTests : public QObject {
    Q_OBJECT

private slots:
    void angles_data();
    void angles();
};

void CircleProgressShapeTests::angles_data()
{
    QTest::addColumn<double>("progress");
    QTest::addColumn<double>("damping");
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("end");

    // The activity cycle (damping 0.35): tail waits, follows, catches up.
    QTest::newRow("cycle start") << 0.0 << 0.35 << 0.0 << 0.0;
    QTest::newRow("tail waits") << 0.2 << 0.35 << 0.0 << 72.0;
    QTest::newRow("tail leaves") << 0.35 << 0.35 << 0.0 << 126.0;
    QTest::newRow("tail follows") << 0.5 << 0.35 << 54.0 << 180.0;
    QTest::newRow("tail speeds up") << 0.65 << 0.35 << 108.0 << 234.0;
    QTest::newRow("last stretch") << 0.8 << 0.35 << 216.0 << 288.0;
    QTest::newRow("cycle end") << 1.0 << 0.35 << 360.0 << 360.0;
    // A plain ring (damping above 0.5): tail fixed, head clamped.
    QTest::newRow("ring empty") << 0.0 << 1.0 << 0.0 << 0.0;
    QTest::newRow("ring quarter") << 0.25 << 1.0 << 0.0 << 90.0;
    QTest::newRow("ring full") << 1.0 << 1.0 << 0.0 << 360.0;
    QTest::newRow("ring over") << 1.5 << 1.0 << 0.0 << 360.0;
    QTest::newRow("ring under") << -0.2 << 1.0 << 0.0 << 0.0;
}

void CircleProgressShapeTests::angles()
{
    QFETCH(double, progress);
    QFETCH(double, damping);
    QFETCH(double, start);
    QFETCH(double, end);
    const CircleProgressShape shape(progress, damping);
    QVERIFY2(std::abs(shape.startAngle() - start) < 1e-9, qPrintable(QString::number(shape.startAngle())));
    QVERIFY2(std::abs(shape.endAngle() - end) < 1e-9, qPrintable(QString::number(shape.endAngle())));
}

QTEST_GUILESS_MAIN(CircleProgressShapeTests)
#include "CircleProgressShapeTests.moc"

