// The plot module of lumo-batch: renders the plot windows offscreen with Qt.
#include "plotmodule.h"

#include <QApplication>

#include <cstdio>
#include <memory>

#include "plots/plotrenderer.h"

namespace lumo::batch {

namespace {

QStringList toQt(const std::vector<std::string>& list)
{
    QStringList out;
    for (const std::string& s : list)
        out << QString::fromStdString(s);
    return out;
}

std::vector<std::string> fromQt(const QStringList& list)
{
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}

// Qt's own notes (missing runtime folders and the like) would only clutter
// a command-line tool's error stream; real failures come back as results.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// The widgets need an application object; it lives until the program ends.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "lumo-batch";
    static char* argv[] = {name, nullptr};
    // Never a display: the pictures are drawn in memory.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    static std::unique_ptr<QApplication> app = std::make_unique<QApplication>(argc, argv);
}

std::vector<std::string> defaultPlotQuantities() { return fromQt(PlotRenderer::defaultQuantities()); }

std::vector<std::string> unknownPlotQuantities(const std::vector<std::string>& quantities)
{
    return fromQt(PlotRenderer::unknownQuantities(toQt(quantities)));
}

bool renderPlots(Q5& q5, const std::string& dir, const std::string& flightName,
    const std::vector<std::string>& quantities, std::vector<std::string>& written, std::string& error)
{
    ensureApplication();
    QStringList paths;
    QString message;
    const bool ok = PlotRenderer::render(q5, QString::fromStdString(dir), QString::fromStdString(flightName),
        toQt(quantities), paths, message);
    written = fromQt(paths);
    error = message.toStdString();
    return ok;
}

constexpr PlotModule Module{defaultPlotQuantities, unknownPlotQuantities, renderPlots};

} // namespace

} // namespace lumo::batch

extern "C" __attribute__((visibility("default"))) const lumo::batch::PlotModule* lumoBatchPlotModule()
{
    return &lumo::batch::Module;
}
