#pragma once

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace lumo {

class PlotAxis;
class XYPlot;

// Modal property editor of an XYPlot: per channel its colour, line style,
// width, visibility and legend membership; per axis its range, title and
// tick increment. Channels can be changed but neither added nor removed,
// so the design indices the windows rely on stay valid. Changes apply on OK.
class PlotEditor : public QDialog {
    Q_OBJECT
public:
    PlotEditor(XYPlot& plot, QWidget* parent = nullptr);

    // Writes the dialog's values into the plot (what OK does).
    void apply();

private:
    struct ChannelRow {
        QPushButton* colour;
        QComboBox* style;
        QSpinBox* width;
        QCheckBox* visible;
        QCheckBox* legend;
        QColor chosen;
    };
    struct AxisRow {
        PlotAxis* axis;
        QLineEdit* title;
        QDoubleSpinBox* min;
        QDoubleSpinBox* span;
        QDoubleSpinBox* increment;
    };

    QWidget* buildChannels();
    QWidget* buildAxes();

    XYPlot& plot_;
    std::vector<ChannelRow> channels_;
    std::vector<AxisRow> axes_;
};

} // namespace lumo
