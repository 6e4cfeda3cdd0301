#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "plots/plotrenderer.h"
#include "processing/flightimport.h"
#include "support/testfiles.h"

using namespace lumo;

namespace {

bool loadSample(Q5& q5, ScriptedDialogs& dialogs, const char* base)
{
    q5.dialogs = &dialogs;
    const std::string sample = test::sourcePath(std::string("samples/") + base);
    return importFlight(q5, sample + ".raw", sample + ".cfg").ok() && q5.processFlight();
}

// Pixels close to a colour (smoothed lines blend into the white): whether
// a trace of that colour was drawn.
int countColour(const QImage& image, QRgb colour)
{
    const QColor want(colour);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - want.red()) < 24 && qAbs(c.green() - want.green()) < 24
                && qAbs(c.blue() - want.blue()) < 24)
                ++n;
        }
    return n;
}

} // namespace

class RendererTest : public QObject {
    Q_OBJECT
private slots:
    void quantityNamesAreChecked()
    {
        QCOMPARE(PlotRenderer::unknownQuantities({"O3pp", "T", "ARate", "Icell.4", "Dir", "Spd", "MR"}), QStringList());
        QCOMPARE(PlotRenderer::unknownQuantities({"O3pp.5", "Temp", "Vbat.x", "O3pp.1.2"}),
            QStringList({"O3pp.5", "Temp", "Vbat.x", "O3pp.1.2"}));
        QCOMPARE(PlotRenderer::defaultQuantities(), QStringList({"O3pp", "T", "Dir", "Spd"}));
    }

    void rendersTheWindowsOfAProcessedFlight()
    {
        Q5 q5;
        ScriptedDialogs dialogs(false);
        QVERIFY(loadSample(q5, dialogs, "flight4"));
        QTemporaryDir dir;
        QStringList written;
        QString error;
        QVERIFY2(PlotRenderer::render(q5, dir.filePath("out"), "F4", PlotRenderer::defaultQuantities(), written, error),
            qPrintable(error));
        QCOMPARE(written.size(), 4);
        const QImage profile(dir.filePath("out/F4-profile.png"));
        QCOMPARE(profile.size(), QSize(600, 700));
        // The four ozonesondes in their own colours (their profiles lie
        // almost on top of each other: the legend's samples show each), the
        // temperature in dark grey.
        for (QRgb colour : {0xD00000, 0x0050E0, 0x009000, 0xE08000})
            QVERIFY2(countColour(profile, colour) > 30, qPrintable(QString::number(colour, 16)));
        QVERIFY(countColour(profile, 0x404040) > 500);
        const QImage surface(dir.filePath("out/F4-surface.png"));
        const QImage flight(dir.filePath("out/F4-flight.png"));
        const QImage winds(dir.filePath("out/F4-winds.png"));
        QCOMPARE(surface.size(), QSize(900, 500));
        QCOMPARE(flight.size(), QSize(600, 600));
        QCOMPARE(winds.size(), QSize(607, 647));
        // O3pp.1 (ascent #FF0000) and, with "Show all data", T(D) (#008000)
        // are drawn in the flight plot; Ipmp (#FFFF00) is not asked for; the
        // wind traces are there.
        QVERIFY(countColour(flight, 0xFF0000) > 100);
        QVERIFY(countColour(flight, 0x008000) > 100);
        QCOMPARE(countColour(flight, 0xFFFF00), 0);
        QVERIFY(countColour(surface, 0x00C800) > 100);
        QVERIFY(countColour(winds, 0x0000FF) > 100);
        QVERIFY(countColour(winds, 0xFF8080) > 100);
    }

    // A standard-method run's profile picture carries the classic profile
    // beside the standard one, in the sonde's lighter colour.
    void standardRunDrawsTheClassicProfile()
    {
        Q5 q5;
        ScriptedDialogs dialogs(false);
        QVERIFY(loadSample(q5, dialogs, "flight1"));
        QTemporaryDir dir;
        QStringList written;
        QString error;
        const QRgb classicColour = QColor(0xD00000).lighter(160).rgb();
        QVERIFY(PlotRenderer::render(q5, dir.filePath("c"), "F1", {"O3pp"}, written, error));
        const int classicRun = countColour(QImage(dir.filePath("c/F1-profile.png")), classicColour);
        q5.o3Method.method = O3Method::Standard;
        QVERIFY(q5.processFlight());
        QVERIFY(PlotRenderer::render(q5, dir.filePath("s"), "F1", {"O3pp"}, written, error));
        QVERIFY2(countColour(QImage(dir.filePath("s/F1-profile.png")), classicColour) > classicRun + 100,
            qPrintable(QString::number(classicRun)));
    }

    void noWindPictureWithoutWindQuantities()
    {
        Q5 q5;
        ScriptedDialogs dialogs(false);
        QVERIFY(loadSample(q5, dialogs, "flight1"));
        q5.showAll = 0;
        QTemporaryDir dir;
        QStringList written;
        QString error;
        QVERIFY(PlotRenderer::render(q5, dir.path(), "F1", {"P", "O3pp.1"}, written, error));
        QCOMPARE(written.size(), 3);
        QVERIFY(!QFile::exists(dir.filePath("F1-winds.png")));
        const QImage flight(dir.filePath("F1-flight.png"));
        QVERIFY(countColour(flight, 0xFF8080) > 100); // P(A)
        QCOMPARE(countColour(flight, 0x804040), 0);   // descent hidden
        QCOMPARE(countColour(flight, 0x00C800), 0);   // T not asked for
    }

    void unwritableFolderIsReported()
    {
        Q5 q5;
        QTemporaryDir dir;
        const QString blocker = dir.filePath("file");
        QFile f(blocker);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QStringList written;
        QString error;
        QVERIFY(!PlotRenderer::render(q5, blocker + "/sub", "F", {"T"}, written, error));
        QVERIFY(!error.isEmpty());
        QVERIFY(written.isEmpty());
    }
};

QTEST_MAIN(RendererTest)
#include "renderer_test.moc"
