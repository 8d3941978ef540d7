#include "demo_survey.h"

#include <synth_survey.h>

#include <cmath>

namespace spectrafil {
namespace {

constexpr double kX0 = 520025.0; // centre of the south-west cell, WGS84 / UTM zone 35S
constexpr double kY0 = 7180025.0;
constexpr double kCell = 50.0;
constexpr int kColumns = 600;
constexpr int kRows = 500;
constexpr double kCentreX = kX0 + 0.5 * (kColumns - 1) * kCell;
constexpr double kCentreY = kY0 + 0.5 * (kRows - 1) * kCell;

// A southern-African field: upward inclination, westerly declination.
const synth::InducingField kField{-63.0, -17.0, 29000.0};

std::vector<synth::Dipole> bodies()
{
    using synth::Vec3;
    std::vector<synth::Dipole> list = {
        synth::inducedSphere(Vec3{527000, 7192000, -300}, 150, 0.08, kField),    // shallow plug
        synth::inducedSphere(Vec3{538000, 7186000, -900}, 500, 0.05, kField),    // intrusion at mid depth
        synth::inducedSphere(Vec3{531000, 7198000, -2500}, 1400, 0.03, kField),  // deep basement body
        synth::magnetisedSphere(Vec3{544000, 7197000, -700}, 400, 1.5, 40, 160), // reversed remanence
    };
    // A dyke-like chain of small bodies striking north-east.
    for (int i = 0; i < 8; ++i)
        list.push_back(synth::inducedSphere(Vec3{523000.0 + 1500.0 * i, 7183000.0 + 1200.0 * i, -200}, 90, 0.1, kField));
    return list;
}

// Outside a wobbly ellipse, and a lake inside it.
synth::NoDataRegions surveyGaps()
{
    synth::NoDataRegions gaps;
    gaps.discs.push_back({540500.0, 7190000.0, 1200.0});
    gaps.predicate = [](double x, double y) {
        const double dx = (x - kCentreX) / 14000.0;
        const double dy = (y - kCentreY) / 11800.0;
        const double angle = std::atan2(dy, dx);
        const double edge = 1.0 + 0.07 * std::sin(3.0 * angle + 0.5) + 0.04 * std::cos(5.0 * angle);
        return std::hypot(dx, dy) > edge;
    };
    return gaps;
}

} // namespace

DemoSurvey makeDemoSurvey()
{
    synth::MagneticSurvey survey;
    survey.field = kField;
    survey.bodies = bodies();
    survey.trend = synth::PlanarTrend{60.0, 0.002, -0.0015, kCentreX, kCentreY};
    const double height = 80.0;
    const synth::GridGeometry geometry{kColumns, kRows, kX0, kY0, kCell, kCell};
    DemoSurvey demo{synth::sampleGrid(geometry, height, survey, surveyGaps()), kField.inclination, kField.declination,
                    kField.strength, height, std::atan2(1500.0, 1200.0) * 180.0 / M_PI, "EPSG:32735"};
    synth::addNoise(demo.grid, 0.2);
    return demo;
}

} // namespace spectrafil
