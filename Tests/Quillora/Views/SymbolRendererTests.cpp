// The window's symbols drawn without QtSvg look as QtSvg draws them: every
// icon through the image provider, and the path grammar our icons do not use
// yet, against QSvgRenderer; broken documents draw nothing.
#include "Views/IconProvider.h"
#include "Views/SymbolRenderer.h"

#include <QDirIterator>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

namespace {

// Antialiasing may differ by a few levels along edges; a misplaced or
// missing part differs by far more, over far more pixels.
constexpr int levels = 8;
constexpr double tolerance = 0.02;

double differingShare(const QImage& actual, const QImage& expected)
{
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    qsizetype differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = e.pixel(x, y);
            const int most = std::max({std::abs(qAlpha(p) - qAlpha(q)), std::abs(qRed(p) - qRed(q)),
                                       std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
            differing += most > levels;
        }
    }
    return double(differing) / std::max(qsizetype(1), qsizetype(a.width()) * a.height());
}

QImage drawnByQtSvg(QByteArray svg, const QColor& color, const QSize& size)
{
    QColor opaque = color;
    opaque.setAlpha(255);
    svg.replace("currentColor", opaque.name(QColor::HexRgb).toLatin1());
    QSvgRenderer renderer(svg);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setOpacity(color.alphaF());
    if (color.alpha() == 255) {
        renderer.render(&painter);
    } else {
        QImage solid(size, QImage::Format_ARGB32_Premultiplied);
        solid.fill(Qt::transparent);
        QPainter solidPainter(&solid);
        renderer.render(&solidPainter);
        solidPainter.end();
        painter.drawImage(0, 0, solid);
    }
    return image;
}

QByteArray pathDocument(const QString& data, const QString& fillRule = QStringLiteral("nonzero"))
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"24\" height=\"24\" viewBox=\"0 0 24 24\">"
                          "<path d=\"%1\" fill=\"#8040a0\" fill-rule=\"%2\" stroke=\"#000\" stroke-width=\"1.5\"/></svg>")
        .arg(data, fillRule)
        .toUtf8();
}

} // namespace

class SymbolRendererTests : public QObject {
    Q_OBJECT

    double m_worst = 0;

private slots:
    void iconsLookAsQtSvgDrawsThem_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QSize>("requested");
        QDirIterator icons(QStringLiteral(":/Quillora/icons"));
        int count = 0;
        while (icons.hasNext()) {
            const QString name = icons.nextFileInfo().completeBaseName();
            ++count;
            for (const QColor& color : {QColor(0x1c, 0x1b, 0x1f), QColor(0xe0, 0x40, 0x20, 0x80)}) {
                // Square sizes as the screens ask, a width alone, the
                // natural size, and a box of another shape (stretched).
                for (const QSize& size : {QSize(24, 24), QSize(61, 61), QSize(48, 0), QSize(-1, -1), QSize(40, 24)})
                    QTest::addRow("%s %s %dx%d", qPrintable(name), qPrintable(color.name(QColor::HexArgb)),
                                  size.width(), size.height())
                        << name << color << size;
            }
        }
        QVERIFY(count >= 13);
    }
    void iconsLookAsQtSvgDrawsThem()
    {
        QFETCH(QString, name);
        QFETCH(QColor, color);
        QFETCH(QSize, requested);
        IconProvider provider;
        QSize size;
        const QImage actual = provider.requestImage(name + u'/' + color.name(QColor::HexArgb), &size, requested);

        QFile file(QStringLiteral(":/Quillora/icons/%1.svg").arg(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll();
        const QSize natural = QSvgRenderer(svg).defaultSize();
        const QSize expectedSize = requested.height() > 0 ? requested
            : requested.width() > 0 ? QSize(requested.width(), natural.height() * requested.width() / natural.width())
                                    : natural;
        QCOMPARE(size, expectedSize);
        QCOMPARE(actual.size(), expectedSize);
        const double share = differingShare(actual, drawnByQtSvg(svg, color, expectedSize));
        m_worst = std::max(m_worst, share);
        QVERIFY2(share <= tolerance, qPrintable(QStringLiteral("%1 % of pixels differ").arg(share * 100)));
    }

    void pathGrammarAsQtSvgReadsIt_data()
    {
        // Our path, and the same path as QtSvg is sure to read it.
        QTest::addColumn<QString>("data");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("fillRule");
        const auto row = [](const char* name, const char* data, const char* reference = nullptr,
                            const char* fillRule = "nonzero") {
            QTest::newRow(name) << QString::fromLatin1(data) << QString::fromLatin1(reference ? reference : data)
                                << QString::fromLatin1(fillRule);
        };
        row("pairs after M are lines", "M4 4 20 4 12 20z");
        row("pairs after m are relative lines", "m4 4 16 0-8 16z");
        row("exponents", "M4e0 4L2e1 4 1.2E+1 2e1z", "M4 4L20 4 12 20z");
        row("signs and points separate numbers", "M4.5.5l15 3.5-8 16-7.5-19.5z", "M4.5 0.5l15 3.5 -8 16 -7.5 -19.5z");
        row("commas", "M4,4L20,4,12,20Z", "M4 4L20 4 12 20Z");
        row("smooth cubic mirrors the last control", "M2 12C2 2 12 2 12 12S22 22 22 12");
        row("smooth cubic after a line", "M2 12L4 12S12 2 22 12");
        row("relative cubics repeated", "M2 12c0-5 5-5 5 0 0 5 5 5 5 0s5-5 5 0");
        row("smooth quadratic mirrors the last control", "M2 12Q7 2 12 12T22 12");
        row("relative quadratic chain", "M2 12q2.5-8 5 0t5 0t5 0t5 0");
        row("smooth quadratic after a line", "M2 12L4 12T22 12");
        row("arc small, counter-clockwise", "M6 14A8 8 0 0 0 18 14");
        row("arc small, clockwise", "M6 14A8 8 0 0 1 18 14");
        row("arc large, counter-clockwise", "M6 14A8 8 0 1 0 18 14");
        row("arc large, clockwise", "M6 14A8 8 0 1 1 18 14");
        row("arc flags without separators", "M6 14a8 8 0 1012 0", "M6 14a8 8 0 1 0 12 0");
        row("arc rotated", "M3 12A10 5 30 0 1 21 12");
        row("arc radii too small grow", "M4 12A2 1 0 0 1 20 12");
        row("arc of zero radius is a line", "M4 4A0 5 0 0 1 20 20", "M4 4L20 20");
        row("arc repeated", "M2 12a2.5 2.5 0 0 1 5 0 2.5 2.5 0 0 0 5 0");
        row("after a close, drawing goes on from the start", "M4 4h8v8zl12 4v8");
        row("relative after a close", "M4 4h8v8zm2 2h8v8z");
        row("nested subpaths, nonzero", "M2 2h20v20H2zM8 8h8v8H8z");
        row("nested subpaths, evenodd", "M2 2h20v20H2zM8 8h8v8H8z", nullptr, "evenodd");
    }
    void pathGrammarAsQtSvgReadsIt()
    {
        QFETCH(QString, data);
        QFETCH(QString, reference);
        QFETCH(QString, fillRule);
        const QSize size(96, 96);
        const SymbolRenderer ours(pathDocument(data, fillRule));
        QVERIFY(ours.isValid());
        const QImage expected = drawnByQtSvg(pathDocument(reference, fillRule), Qt::black, size);
        const double share = differingShare(ours.image(size), expected);
        m_worst = std::max(m_worst, share);
        QVERIFY2(share <= tolerance, qPrintable(QStringLiteral("%1 % of pixels differ").arg(share * 100)));
    }

    void brokenDocumentsDrawNothing_data()
    {
        QTest::addColumn<QByteArray>("svg");
        const QByteArray head = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"24\" height=\"24\">";
        const auto path = [&](const char* data) { return head + "<path d=\"" + data + "\"/></svg>"; };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not XML") << QByteArray("svg width=24");
        QTest::newRow("cut short") << head + "<path d=\"M0 0h4v4z\"/>";
        QTest::newRow("another root") << QByteArray("<html width=\"24\" height=\"24\"/>");
        QTest::newRow("no size") << QByteArray("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        QTest::newRow("absurd size") << QByteArray("<svg width=\"1e9\" height=\"1e9\"/>");
        QTest::newRow("path not starting with a move") << path("L4 4");
        QTest::newRow("path ending within a command") << path("M1 1L4");
        QTest::newRow("numbers after close") << path("M1 1h4z 4 4");
        QTest::newRow("arc flag not 0 or 1") << path("M1 1A4 4 0 2 0 8 8");
        QTest::newRow("unknown command") << path("M1 1X4 4");
        QTest::newRow("number out of range") << path("M1e999 1");
        QTest::newRow("lone exponent") << path("M1e 1");
        QTest::newRow("broken points") << head + "<polygon points=\"1 2 x 4\"/></svg>";
    }
    void brokenDocumentsDrawNothing()
    {
        QFETCH(QByteArray, svg);
        const SymbolRenderer renderer(svg);
        QVERIFY(!renderer.isValid());
        QVERIFY(renderer.image(QSize(24, 24)).isNull());
    }

    void everyCutOfAnIconDrawsNothing()
    {
        QFile file(QStringLiteral(":/Quillora/icons/exclamationmark.triangle.fill.svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll().trimmed();
        for (qsizetype length = 0; length < svg.size(); ++length)
            QVERIFY2(SymbolRenderer(svg.first(length)).image(QSize(24, 24)).isNull(), svg.first(length).constData());
        QVERIFY(!SymbolRenderer(svg).image(QSize(24, 24)).isNull());
    }

    void cleanupTestCase() { qInfo("Most pixels differing from QtSvg in one image: %.2f %%", m_worst * 100); }
};

QTEST_MAIN(SymbolRendererTests)
#include "SymbolRendererTests.moc"
