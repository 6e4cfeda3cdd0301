// Pictures of the plot: clipboard, image files and printing.
#include "xyplot.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include <algorithm>

#include <qcustomplot.h>

#include "ploteditor.h"

namespace lumo {

QPixmap XYPlot::picture(int width, int height)
{
    prepareDraw();
    return plot_->toPixmap(width, height);
}

bool XYPlot::saveToFile(const QString& path, int width, int height)
{
    prepareDraw();
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("png"))
        return plot_->savePng(path, width, height);
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return plot_->saveJpg(path, width, height, 1.0, 95);
    if (ext == QLatin1String("bmp"))
        return plot_->saveBmp(path, width, height);
    if (ext == QLatin1String("pdf"))
        return plot_->savePdf(path, width, height, QCP::epAllowCosmetic, QString(), printName_);
    return false;
}

void XYPlot::copyPicture()
{
    QApplication::clipboard()->setPixmap(picture());
}

void XYPlot::savePicture()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Picture"), QString(),
        tr("PNG picture (*.png);;JPEG picture (*.jpg *.jpeg);;Bitmap (*.bmp);;PDF document (*.pdf)"));
    if (path.isEmpty())
        return;
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
