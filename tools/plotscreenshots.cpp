// lumo-plot-screenshots: pictures of the plot windows on a sample
// flight, for the README. Usage: lumo-plot-screenshots RAW CFG OUTDIR
#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

#include "flight/q5.h"
#include "flight/scripteddialogs.h"
#include "plots/plotrenderer.h"
#include "processing/flightimport.h"

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        err << "usage: lumo-plot-screenshots RAW CFG OUTDIR\n";
        return 2;
    }
    lumo::Q5 q5;
    lumo::ScriptedDialogs dialogs(false);
    q5.dialogs = &dialogs;
    if (!lumo::importFlight(q5, args[1].toStdString(), args[2].toStdString()).ok()) {
        err << "cannot read " << args[1] << " with " << args[2] << "\n";
        return 1;
    }
    if (!q5.processFlight())
        err << "processing failed; plotting what there is\n";
    QStringList written;
    QString error;
    const QStringList quantities = {"O3pp", "T", "U", "Dir", "Spd"};
    if (!lumo::PlotRenderer::render(q5, args[3], QFileInfo(args[1]).completeBaseName(), quantities, written, error)) {
        err << error << "\n";
        return 1;
    }
    QTextStream(stdout) << written.join(QLatin1Char('\n')) << "\n";
    return 0;
}
