#include "ploteditor.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

#include "xyplot.h"

namespace lumo {

namespace {

void paintSwatch(QPushButton* button, const QColor& colour)
{
    button->setStyleSheet(QStringLiteral("background-color: %1; min-width: 40px;").arg(colour.name()));
}

QDoubleSpinBox* numberBox(double value, int decimals)
{
    auto* box = new QDoubleSpinBox;
    box->setLocale(QLocale::c());
    box->setRange(-std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
    box->setDecimals(decimals);
    box->setValue(value);
    return box;
}

} // namespace

PlotEditor::PlotEditor(XYPlot& plot, QWidget* parent) : QDialog(parent), plot_(plot)
{
    setWindowTitle(tr("Plot Properties"));
    setModal(true);
    auto* tabs = new QTabWidget;
    tabs->addTab(buildChannels(), tr("Channels"));
    tabs->addTab(buildAxes(), tr("Axes"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(560, 460);
}

QWidget* PlotEditor::buildChannels()
{
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    const QStringList headers = {tr("Channel"), tr("Colour"), tr("Line"), tr("Width"), tr("Visible"), tr("Legend")};
    for (int c = 0; c < headers.size(); ++c)
        grid->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(headers[c])), 0, c);

    for (int i = 0; i < plot_.channelCount(); ++i) {
        const PlotChannel& channel = *plot_.GetChannel(i);
        ChannelRow row{};
        row.chosen = channel.Color();
        row.colour = new QPushButton;
        paintSwatch(row.colour, row.chosen);
        const std::size_t index = channels_.size();
        connect(row.colour, &QPushButton::clicked, this, [this, index] {
            ChannelRow& r = channels_[index];
            const QColor c = QColorDialog::getColor(r.chosen, this);
            if (c.isValid()) {
                r.chosen = c;
                paintSwatch(r.colour, c);
            }
        });
        row.style = new QComboBox;
        row.style->addItems({tr("Solid"), tr("Dash"), tr("Dot"), tr("Dash-dot")});
        row.style->setCurrentIndex(static_cast<int>(channel.TraceLineStyle()));
        row.width = new QSpinBox;
        row.width->setRange(1, 10);
        row.width->setValue(channel.TraceLineWidth());
        row.visible = new QCheckBox;
        row.visible->setChecked(channel.Visible());
        row.legend = new QCheckBox;
        row.legend->setChecked(channel.VisibleInLegend());

        const int r = i + 1;
        grid->addWidget(new QLabel(channel.Name()), r, 0);
        grid->addWidget(row.colour, r, 1);
        grid->addWidget(row.style, r, 2);
        grid->addWidget(row.width, r, 3);
        grid->addWidget(row.visible, r, 4);
        grid->addWidget(row.legend, r, 5);
        channels_.push_back(row);
    }
    grid->setRowStretch(plot_.channelCount() + 1, 1);

    auto* scroll = new QScrollArea;
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    return scroll;
}

QWidget* PlotEditor::buildAxes()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (PlotAxis* axis : {plot_.GetXAxis(0), plot_.GetYAxis(0)}) {
        auto* box = new QGroupBox(axis->Name());
        auto* form = new QFormLayout(box);
        const int decimals = std::max(axis->labelDecimals() + 2, 6);
        AxisRow row{axis, new QLineEdit(axis->Title()), numberBox(axis->Min(), decimals),
            numberBox(axis->Span(), decimals), numberBox(axis->DesiredIncrement(), decimals)};
        form->addRow(tr("Title"), row.title);
        form->addRow(tr("Min"), row.min);
        form->addRow(tr("Span"), row.span);
        form->addRow(tr("Desired increment (0: automatic)"), row.increment);
        layout->addWidget(box);
        axes_.push_back(row);
    }
    layout->addStretch(1);
    return page;
}

void PlotEditor::apply()
{
    for (int i = 0; i < static_cast<int>(channels_.size()); ++i) {
        PlotChannel& channel = *plot_.GetChannel(i);
        const ChannelRow& row = channels_[static_cast<std::size_t>(i)];
        channel.SetColor(row.chosen);
        channel.SetTraceLineStyle(static_cast<LineStyle>(row.style->currentIndex()));
        channel.SetTraceLineWidth(row.width->value());
        channel.SetVisible(row.visible->isChecked());
        channel.SetVisibleInLegend(row.legend->isChecked());
    }
    for (const AxisRow& row : axes_) {
        row.axis->SetTitle(row.title->text());
        row.axis->SetDesiredIncrement(row.increment->value());
        if (row.span->value() > 0)
            row.axis->setRange(row.min->value(), row.span->value());
    }
}

} // namespace lumo
