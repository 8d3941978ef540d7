#pragma once
// The IGRF as its working group publishes it: Gauss coefficients of the main field at 5-year
// epochs, and the predicted secular variation after the last one.

#include <string>
#include <vector>

namespace geomag {

// Where the coefficient of degree n and order m sits in a table of one model: degree by degree,
// order 0..n within a degree; index 0 (degree 0) is unused.
inline int harmonicIndex(int n, int m) { return n * (n + 1) / 2 + m; }
inline int harmonicCount(int maxDegree) { return harmonicIndex(maxDegree + 1, 0); }

// Schmidt semi-normalised coefficients g and h of one model up to maxDegree, nT (or nT/year for
// a secular variation), at harmonicIndex(n, m). h(n, 0) is zero.
struct GaussCoefficients {
    int maxDegree = 0;
    std::vector<double> g;
    std::vector<double> h;
};

struct IgrfModel {
    std::vector<double> epochs; // ascending decimal years
    std::vector<GaussCoefficients> atEpoch;
    GaussCoefficients secularVariation; // after the last epoch, per year
    double firstYear = 0;
    double lastYear = 0; // how far the secular variation is meant to carry the last epoch
};

// Reads a coefficient file in the working group's text layout. A file that cannot be read, is
// damaged or is cut short is refused with a message naming the file and the line.
bool loadIgrfModel(const std::string& path, IgrfModel& model, std::string& error);

// Coefficients at a decimal year: linear between epochs, the secular variation after the last
// one. Years outside firstYear..lastYear are refused with a message naming the year and range.
bool igrfCoefficientsAt(const IgrfModel& model, double year, GaussCoefficients& coefficients,
                        std::string& error);

} // namespace geomag
