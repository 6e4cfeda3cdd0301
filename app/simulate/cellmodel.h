#pragma once

#include <optional>
#include <string>

namespace lumo::sim {

class Random;

// ECC families: the 6A family (4A, 5A, 6A) and the Z family (Z, 2Z), which
// differ in pump efficiency, response time and reaction constants.
enum class CellFamily { SixA, Z };
// Where the pump-temperature thermistor sits.
enum class ThermistorPlace { Box, Taped, Glued, Internal };

const char* familyModel(CellFamily f); // "6A" or "2Z"
// "1.0% KI, full buffer", "0.5% KI, half buffer", "1.0% KI, 1/10 buffer".
std::string solutionText(double kiPct, double buffer);
const char* thermistorName(ThermistorPlace t);
bool parseFamily(const std::string& text, CellFamily& f);
bool parseThermistor(const std::string& text, ThermistorPlace& t);

// The cell options of the command line; an unset value takes the table value
// of the sonde type and solution.
struct CellOptions {
    bool enabled = false;
    std::optional<CellFamily> family;  // unset: from each serial number's prefix
    std::optional<double> kiPct;       // %; unset: the family's reference solution
    std::optional<double> buffer;      // fraction of the full buffer
    std::optional<double> tauFast;     // s, 0 = no lag
    double tauSlow = 1500;             // s
    std::optional<double> beta;        // share of the slow pathway, 0 = none
    std::optional<double> calA, calB;  // calibration R = a + b log10 P, %
    ThermistorPlace thermistor = ThermistorPlace::Box;
    bool moistening = true;            // the in-flight flow differs from the laboratory's
    double noise = 0;                  // uA, white noise on each reading of the cell current

    std::string validate() const;
};

// The reaction constants of one sonde type and solution (open JOSIE
// analysis code of Smit et al. 2024, AMT 17, 73).
struct ResponseConstants {
    double tauFast = 0; // s
    double beta = 0;
    double calA = 0, calB = 0; // %
};
// False when the table has no row for the combination.
bool responseConstants(CellFamily f, double kiPct, double buffer, ResponseConstants& out);

// One cell as prepared and flown: everything that shapes its current.
struct CellSetup {
    CellFamily family = CellFamily::Z;
    double kiPct = 0.5, buffer = 0.5;
    double solutionVolume = 3.0; // cm3, absorption 1 for 3.0 cm3
    ResponseConstants response;
    double tauSlow = 1500;       // s
    ThermistorPlace thermistor = ThermistorPlace::Box;
    double ib0 = 0;              // uA, ozone-independent background
    double ib1 = 0;              // uA, background after the laboratory exposure
    double ib1Delay = 0;         // s from the Ib1 reading to the first record
    double ib2 = 0;              // uA, background at the first record (on the filter)
    double flowTempC = 0, flowHumidity = 0, flowPressure = 0; // laboratory flow measurement
    bool moistening = true;

    // Slow current left from the laboratory exposure at the first record, uA.
    double slowStart() const;
    // In-flight ground flow over the measured one (1 + c_PL - c_PH).
    double flowFactor() const;
    std::string solutionText() const; // e.g. "1.0% KI, full buffer"
};

// Empty when every sonde the options may describe has reaction constants
// (from the table or the options), else the reason why not.
std::string cellOptionsProblem(const CellOptions& o);
// Sets up one cell of the given family (unless the options name one) and
// draws its preparation values; the options must pass cellOptionsProblem.
void makeCell(const CellOptions& o, CellFamily family, double surfaceP, Random& rng, CellSetup& cell);

// Pump-air temperature above the thermistor's reading, K: the place offset
// and the pump-heat offset, held below 3 hPa.
double pumpTemperatureOffset(ThermistorPlace place, double p);
// Inverse pump efficiency by family (Komhyr 1986 for the 6A, 1995 for the
// Z family), linear in log10 p, 1 above 100 hPa, held below 3 hPa.
double pumpEfficiencyFactor(CellFamily f, double p);
// Saturation vapour pressure over water, hPa, at t degC.
double saturationPressure(double tC);

// The fast current the cell would settle to, uA, for true ozone pO3 (mPa)
// at pressure p (hPa), pump-air temperature tPumpK and measured flow time
// flow (s per 100 ml): the measurement equation run backwards with the
// pump's true flow and the cell's excess over the photometer.
double settledFastCurrent(const CellSetup& cell, double pO3mPa, double p, double tPumpK, double flow);

// The two reaction pathways in time. Advance with the settled fast current
// at the end of each step (linear in between); current() is the cell
// current I_B0 + I_F + I_S.
class CellResponse {
public:
    CellResponse(const CellSetup& cell, double settledFast);
    void advance(double dtSec, double settledFast);
    double current() const { return cell_.ib0 + fast_ + slow_; }
    double fast() const { return fast_; }
    double slow() const { return slow_; }

private:
    const CellSetup& cell_;
    double fast_ = 0, slow_ = 0, input_ = 0;
};

} // namespace lumo::sim
