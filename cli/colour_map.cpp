#include "colour_map.h"

#include <IBaseData.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace spectrafil {
namespace {

struct Stop {
    int index; // position in the published 256-entry table
    int r, g, b;
};

// Every eighth entry of the published 256-entry viridis table (BIDS colormap "option D"),
// rounded to 8 bits; linear interpolation between them stays within 2 levels of the full table.
const Stop kViridis[] = {
    {0, 68, 1, 84},     {8, 71, 13, 96},     {16, 72, 24, 106},   {24, 72, 35, 116},   {32, 71, 45, 123},
    {40, 69, 55, 129},  {48, 66, 64, 134},   {56, 62, 73, 137},   {64, 59, 82, 139},   {72, 55, 91, 141},
    {80, 51, 99, 141},  {88, 47, 107, 142},  {96, 44, 114, 142},  {104, 41, 122, 142}, {112, 38, 130, 142},
    {120, 35, 137, 142}, {128, 33, 145, 140}, {136, 31, 152, 139}, {144, 31, 160, 136}, {152, 34, 167, 133},
    {160, 40, 174, 128}, {168, 50, 182, 122}, {176, 63, 188, 115}, {184, 78, 195, 107}, {192, 94, 201, 98},
    {200, 112, 207, 87}, {208, 132, 212, 75}, {216, 152, 216, 62}, {224, 173, 220, 48}, {232, 194, 223, 35},
    {240, 216, 226, 25}, {248, 236, 229, 27}, {255, 253, 231, 37},
};

int mix(int a, int b, double f) { return static_cast<int>(std::lround(a + (b - a) * f)); }

} // namespace

QRgb viridis(double t)
{
    const double x = std::clamp(std::isnan(t) ? 0.0 : t, 0.0, 1.0) * 255.0;
    const Stop* upper = std::find_if(std::begin(kViridis), std::end(kViridis), [x](const Stop& s) { return s.index >= x; });
    if (upper == std::begin(kViridis))
        return qRgb(upper->r, upper->g, upper->b);
    const Stop* lower = upper - 1;
    const double f = (x - lower->index) / (upper->index - lower->index);
    return qRgb(mix(lower->r, upper->r, f), mix(lower->g, upper->g, f), mix(lower->b, upper->b, f));
}

ValueRange displayRange(const Tavorin::IBaseData& data)
{
    std::vector<double> values;
    values.reserve(data.size());
    for (unsigned int id = 0; id < data.size(); ++id)
        if (data.hasValue(id) && std::isfinite(data.value(id)))
            values.push_back(data.value(id));
    ValueRange range;
    if (values.empty())
        return range;
    auto percentile = [&values](double p) {
        auto at = values.begin() + static_cast<std::ptrdiff_t>(p * double(values.size() - 1));
        std::nth_element(values.begin(), at, values.end());
        return *at;
    };
    range.low = percentile(0.02);
    range.high = percentile(0.98);
    range.empty = false;
    if (!(range.high > range.low)) {
        const double pad = std::max(1e-6, std::fabs(range.low) * 1e-3);
        range.low -= pad;
        range.high += pad;
    }
    return range;
}

} // namespace spectrafil
