// Pictures of the plot: clipboard, image files and printing.
#include "xyplot.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

#include <qcustomplot.h>

#include "flight/atomicfile.h"
#include "ploteditor.h"

namespace lumo {

QPixmap XYPlot::picture(int width, int height)
{
    prepareDraw();
    return plot_->toPixmap(width, height);
}

// QCustomPlot writes the picture to a temporary file beside the target,
// which replaces the target only once the picture is complete: a failed or
// interrupted save leaves an older picture of that name as it was.
bool XYPlot::saveToFile(const QString& path, int width, int height)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    const bool jpeg = ext == QLatin1String("jpg") || ext == QLatin1String("jpeg");
    if (ext != QLatin1String("png") && !jpeg && ext != QLatin1String("bmp") && ext != QLatin1String("pdf"))
        return false;
    AtomicFile out(QFile::encodeName(path).toStdString());
    if (!out.open())
        return false;
    const QString temp = QFile::decodeName(QByteArray::fromStdString(out.tempPath().string()));
    prepareDraw();
    bool saved = false;
    if (ext == QLatin1String("png"))
        saved = plot_->savePng(temp, width, height);
    else if (jpeg)
        saved = plot_->saveJpg(temp, width, height, 1.0, 95);
    else if (ext == QLatin1String("bmp"))
        saved = plot_->saveBmp(temp, width, height);
    else
        saved = plot_->savePdf(temp, width, height, QCP::epAllowCosmetic, QString(), printName_);
    if (!saved) {
        out.discard();
        return false;
    }
    return out.commit();
}

void XYPlot::copyPicture()
{
    QApplication::clipboard()->setPixmap(picture());
}

QString XYPlot::withFilterExtension(const QString& path, const QString& filter)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    const qsizetype star = filter.indexOf(QLatin1String("*."));
    if (star < 0)
        return path;
    qsizetype end = star + 2;
    while (end < filter.size() && filter[end].isLetterOrNumber())
        ++end;
    return path + filter.mid(star + 1, end - star - 1);
}

void XYPlot::savePicture()
{
    QString filter;
    QString path = QFileDialog::getSaveFileName(this, tr("Save Picture"), QString(),
        tr("PNG picture (*.png);;JPEG picture (*.jpg *.jpeg);;Bitmap (*.bmp);;PDF document (*.pdf)"), &filter);
    if (path.isEmpty())
        return;
    path = withFilterExtension(path, filter);
    if (!saveToFile(path))
        QMessageBox::warning(this, tr("Error"),
            tr("Could not write %1.\nThe name must end in .png, .jpg, .jpeg, .bmp or .pdf.").arg(path));
}

void XYPlot::printTo(QPrinter& printer)
{
    prepareDraw();
    QCPPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int w = std::max(plot_->width(), 400);
    const int h = std::max(plot_->height(), 300);
    const double scale = std::min(page.width() / w, page.height() / h);
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.scale(scale, scale);
    plot_->toPainter(&painter, w, h);
}

void XYPlot::printPlot()
{
    QPrinter printer;
    printer.setDocName(printName_);
    printer.setPageOrientation(orientation_);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

void XYPlot::previewPlot()
{
    QPrinter printer;
    printer.setDocName(printName_);
    printer.setPageOrientation(orientation_);
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { printTo(*p); });
    dialog.exec();
}

void XYPlot::editProperties()
{
    PlotEditor editor(*this, this);
    editor.exec();
}

} // namespace lumo
