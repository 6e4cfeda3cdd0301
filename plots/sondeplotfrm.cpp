#include "sondeplotfrm.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QResizeEvent>
#include <QShowEvent>

#include <algorithm>

#include <QStringList>

#include "flight/q5.h"
#include "mybutton.h"
#include "sondeselector.h"
#include "xyplot.h"

namespace lumo {

namespace {

constexpr int PlotLeft = 75;

struct BoxDesign {
    const char* caption;
    const char* hint;
    int width;
};

constexpr BoxDesign RsBoxes[] = {
    {"P", "Pressure (mbs)", 45},
    {"T", "Air temperature (\u00B0C)", 45},
    {"U", "Relative humidity (%)", 45},
    {"Vb", "Battery voltage (V)", 45},
    {"Ti", "Internal temperature (\u00B0C)", 45},
    {"Tp", "Pressure sensor temperature (\u00B0C)", 45},
    {"Tu", "Humidity sensor temperature (\u00B0C)", 45},
    {"ARate", "Ascent rate (M/min)", 53},
};

constexpr BoxDesign O3Boxes[] = {
    {"O3pp", "Ozone partial pressure (nbs)", 53},
    {"Icell", "Cell current (uA)", 53},
    {"Tpmp", "Pump temperature (\u00B0C)", 53},
    {"Ipmp", "Pump current (mA)", 53},
    {"Vbat", "Battery voltage (V)", 53},
};

// The value axis names the quantities shown, in their units; those that
// share a unit share a title.
constexpr const char* RsTitles[] = {"Pressure (mbs)", "Temperature (\u00B0C)", "Humidity (%)", "Voltage (V)",
    "Temperature (\u00B0C)", "Temperature (\u00B0C)", "Temperature (\u00B0C)", "Ascent rate (m/min)"};
constexpr const char* O3Titles[] = {"O3 partial pressure (nb)", "Cell current (uA)", "Temperature (\u00B0C)",
    "Pump current (mA)", "Voltage (V)"};

QCheckBox* makeBox(QGroupBox* group, const BoxDesign& design, int top)
{
    auto* box = new QCheckBox(QString::fromUtf8(design.caption), group);
    box->setGeometry(12, top, design.width, 17);
    box->setToolTip(QString::fromUtf8(design.hint));
    return box;
}

} // namespace

SondePlotFrm::SondePlotFrm(Q5& q5, QWidget* parent, bool withAscentRate, int rsHeight, int o3Top)
    : QWidget(parent, Qt::Window), q5_(q5)
{
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    gbxRS = new QGroupBox(tr("Radiosonde"), this);
    gbxRS->setGeometry(1, 24, 72, rsHeight);
    QCheckBox** rs[] = {&cbxP, &cbxT, &cbxU, &cbxVb, &cbxTi, &cbxTp, &cbxTu, &cbxARate};
    const int rsCount = withAscentRate ? 8 : 7;
    for (int i = 0; i < rsCount; ++i) {
        *rs[i] = makeBox(gbxRS, RsBoxes[i], 16 + 16 * i);
        rsBoxes_.push_back(*rs[i]);
        connect(*rs[i], &QCheckBox::toggled, this, [this, i] { rsBoxClick(i); });
    }

    gbxO3 = new QGroupBox(tr("Ozone"), this);
    gbxO3->setGeometry(1, o3Top, 72, 133);
    QCheckBox** o3[] = {&cbxO3pp, &cbxIcell, &cbxTpmp, &cbxIpmp, &cbxVbat};
    for (int k = 0; k < 5; ++k) {
        *o3[k] = makeBox(gbxO3, O3Boxes[k], 16 + 16 * k);
        o3Boxes_[static_cast<std::size_t>(k)] = *o3[k];
        connect(*o3[k], &QCheckBox::toggled, this, [this, k] { o3BoxClick(k); });
    }

    SondeSelector::Look look;
    look.numberTip = tr("Ozonesonde number (not serial number)");
    look.prevTip = tr("Previous ozonesonde");
    look.nextTip = tr("Next ozonesonde");
    look.numberTakesFocus = true;
    selector_ = new SondeSelector(gbxO3, look, MaxSondes);
    btnPrev = selector_->prev;
    osNumber = selector_->number;
    btnNext = selector_->next;
    btnPrev->setGeometry(11, 103, 16, 21);
    osNumber->setGeometry(27, 103, 16, 21);
    osNumber->setTextMargins(0, 0, 0, 0);
    osNumber->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
    btnNext->setGeometry(43, 103, 16, 21);
    connect(selector_, &SondeSelector::stepped, this, &SondePlotFrm::showSonde);
}

SondePlotFrm::~SondePlotFrm()
{
    auto& sinks = q5_.plotSinks;
    sinks.erase(std::remove(sinks.begin(), sinks.end(), static_cast<PlotSink*>(this)), sinks.end());
}

int SondePlotFrm::currentSonde() const { return selector_->current(); }

void SondePlotFrm::zoomBoth()
{
    plot_->GetXAxis(0)->ZoomToFit();
    plot_->GetYAxis(0)->ZoomToFit();
}

void SondePlotFrm::titleValueAxis()
{
    QStringList titles;
    auto add = [&titles](const char* title) {
        const QString t = QString::fromUtf8(title);
        if (!titles.contains(t))
            titles << t;
    };
    for (std::size_t i = 0; i < rsBoxes_.size(); ++i)
        if (plot_->GetChannel(rsChannel(static_cast<int>(i)))->Visible())
            add(RsTitles[i]);
    for (int k = 0; k < 5; ++k)
        for (int n = 1; n <= MaxSondes; ++n)
            if (plot_->GetChannel(o3Channel(n, k))->Visible()) {
                add(O3Titles[k]);
                break;
            }
    PlotAxis* axis = valueAxis();
    axis->SetTitle(titles.join(QStringLiteral(", ")));
    axis->SetTitleShow(!titles.isEmpty());
}

void SondePlotFrm::rsBoxClick(int box)
{
    showQuantity(rsChannel(box), rsBoxes_[static_cast<std::size_t>(box)]->isChecked());
    titleValueAxis();
    zoomBoth();
}

void SondePlotFrm::o3BoxClick(int quantity)
{
    const int n = currentSonde();
    if (n >= 1 && n <= MaxSondes)
        showQuantity(o3Channel(n, quantity), o3Boxes_[static_cast<std::size_t>(quantity)]->isChecked());
    titleValueAxis();
    zoomBoth();
}

void SondePlotFrm::btnPrevClick() { selector_->step(-1); }

void SondePlotFrm::btnNextClick() { selector_->step(+1); }

void SondePlotFrm::showSonde(int n)
{
    // Each box takes the state of its channel for the new ozonesonde; a box
    // whose state changes applies it through its handler.
    for (int k = 0; k < 5; ++k)
        o3Boxes_[static_cast<std::size_t>(k)]->setChecked(plot_->GetChannel(o3Channel(n, k))->Visible());
}

void SondePlotFrm::prepareAndShow()
{
    if (q5_.hasPtuExt) {
        for (QCheckBox* box : {cbxTi, cbxTp, cbxTu})
            box->setEnabled(true);
    } else {
        for (QCheckBox* box : {cbxTi, cbxTp, cbxTu}) {
            box->setEnabled(false);
            box->setChecked(false);
        }
    }
    if (q5_.rsPrInst) {
        cbxP->setEnabled(true);
    } else {
        for (QCheckBox* box : {cbxP, cbxTp}) {
            box->setEnabled(false);
            box->setChecked(false);
        }
    }

    const bool anyChecked = std::any_of(rsBoxes_.begin(), rsBoxes_.end(), [](QCheckBox* b) { return b->isChecked(); })
        || std::any_of(o3Boxes_.begin(), o3Boxes_.end(), [](QCheckBox* b) { return b->isChecked(); });
    if (!anyChecked) {
        designRanges();
    } else {
        plot_->GetXAxis(0)->ZoomToFitFast();
        plot_->GetYAxis(0)->ZoomToFitFast();
    }
    show();
    raise();
    activateWindow();
}

void SondePlotFrm::clearForImport()
{
    plot_->SetTitleText(QString());
    for (QCheckBox* box : {cbxP, cbxTi, cbxTp, cbxTu})
        box->setEnabled(false);
    selector_->reset();
}

void SondePlotFrm::finishImportBoxes()
{
    cbxP->setEnabled(q5_.rsPrInst != 0);
    for (QCheckBox* box : {cbxTi, cbxTp, cbxTu}) {
        box->setEnabled(q5_.hasPtuExt != 0);
        box->setChecked(false);
    }
}

void SondePlotFrm::FormShow()
{
    zoomBoth();
}

void SondePlotFrm::FormResize()
{
    if (!plot_)
        return;
    const QRect client = rect();
    plot_->setGeometry(client.left() + PlotLeft, client.top(), client.width() - PlotLeft, client.height());
}

void SondePlotFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void SondePlotFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

} // namespace lumo
