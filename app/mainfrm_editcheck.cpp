// The check every number box passes before what it holds is stored: a text
// that is no number, or one out of the quantity's range, is refused with the
// box's message and the focus stays in the box, whether the user leaves it
// or a command commits it. The old value is never used in silence.
#include "mainfrm.h"

#include <QTabWidget>
#include <QTimer>

#include <limits>

#include "flight/userdialogs.h"
#include "labelededit.h"
#include "numtext.h"
#include "plots/sondeselector.h"

namespace lumo {

namespace {

constexpr double Unbounded = std::numeric_limits<double>::infinity();

} // namespace

struct TMainFrm::EditRule {
    QLineEdit* box;
    QWidget* page;
    double stored;      // what the box shows when the user left it alone
    const char* format; // the box's display format
    double least;       // the valid range; `above` makes `least` itself invalid
    bool above;
    double most;
    const char* message;
    bool emptyIsUnused = false; // an empty box of an ozonesonde slot not in use
};

std::vector<TMainFrm::EditRule> TMainFrm::editRules() const
{
    const int n = o3Selector->current();
    const bool slot = n >= 1 && n <= MaxSondes;
    const O3SondeCfg none{};
    const O3SondeCfg& sonde = slot ? q5.o3Sonde[n - 1] : none;
    const bool unused = sonde.sn[0] == '\0';
    // The Preferences page's own messages, as Save Prefs shows them.
    std::vector<EditRule> rules = {
        {edStnAlt, tabStation, q5.stnAlt, "%1.1f", -Unbounded, false, Unbounded,
         "Station altitude is not valid,\nthe altitude must be a number of meters."},
        {edEndFltPr, tabPrefs, q5.endFltPr, "%1.2f", 0, false, Unbounded, "Pressure value for ending flight is not valid."},
        {edEndFltAlt, tabPrefs, q5.endFltAlt, "%1.1f", 0, false, Unbounded, "Altitude value for ending flight is not valid."},
        {edO3CellBkg, tabOzonesonde, sonde.bkg, "%1.2f", 0, false, Unbounded,
         "Cell background is not valid,\nthe background must be a current of 0 uA or more.", unused},
        {edO3PumpFlow, tabOzonesonde, sonde.flow, "%1.2f", 0, true, Unbounded,
         "Pump flowrate is not valid,\nthe flowrate must be a positive number of seconds per 100 ml.", unused},
        {edLPFilter, tabPrefs, q5.lpFilter, "%1.1f", 0, false, Unbounded,
         "Low-pass filter time constant is not valid,\nthe time constant must be a positive number (0 for no filtering)."},
        {edlDetVal, tabPrefs, q5.lDetVal, "%1.2f", 0, false, Unbounded, "Launch detect ascent rate is not valid."},
        {edSfcStdP, tabSurface, q5.stdP, "%1.2f", 0, true, Unbounded,
         "Standard surface pressure is not valid,\nthe pressure must be a positive number of mbs."},
        {edSfcStdT, tabSurface, q5.stdT, "%1.1f", -Unbounded, false, Unbounded,
         "Standard surface temperature is not valid,\nthe temperature must be a number of degrees C."},
        {edSfcStdU, tabSurface, q5.stdU, "%1.1f", 0, false, 100,
         "Standard surface humidity is not valid,\nthe humidity must be a number from 0 to 100 %."},
    };
    return rules;
}

bool TMainFrm::editRuleAccepts(const EditRule& rule)
{
    const QLineEdit* box = rule.box;
    if (!userChanged(box, formatNumber(rule.format, rule.stored)))
        return true;
    // A box the program left empty (no flight yet, a slot not in use) holds
    // nothing the user typed; leaving it shows the stored value again.
    if (box->text().trimmed().isEmpty() && (!box->isModified() || rule.emptyIsUnused))
        return true;
    double value = 0;
    if (!parseNumber(box->text(), value))
        return false;
    return (rule.above ? value > rule.least : value >= rule.least) && value <= rule.most;
}

void TMainFrm::refuseEdit(const EditRule& rule)
{
    dialogs_.showError("Error", rule.message);
    pageControl->setCurrentWidget(rule.page);
    rule.box->setFocus(Qt::OtherFocusReason);
}

bool TMainFrm::acceptEdit(QLineEdit* box)
{
    for (const EditRule& rule : editRules()) {
        if (rule.box != box)
            continue;
        if (editRuleAccepts(rule))
            return true;
        // Left with Tab or the mouse: the message and the focus come once
        // the focus change is over, and only if the text is still refused
        // (a command may have refused it meanwhile).
        QTimer::singleShot(0, this, [this, box] {
            for (const EditRule& r : editRules())
                if (r.box == box && box->isEnabled() && !box->hasFocus() && !editRuleAccepts(r))
                    refuseEdit(r);
        });
        return false;
    }
    return true;
}

bool TMainFrm::checkEdits()
{
    for (const EditRule& rule : editRules())
        if (rule.box->isEnabled() && !editRuleAccepts(rule)) {
            refuseEdit(rule);
            return false;
        }
    return true;
}

void TMainFrm::enableReCalcOnTyping()
{
    // The mouse can reach ReCalc while the focus is still in the box.
    for (const EditRule& rule : editRules())
        connect(rule.box, &QLineEdit::textEdited, this, &TMainFrm::enableReCalc);
}

} // namespace lumo
