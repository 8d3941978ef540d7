#pragma once
// The Earth's main field from the IGRF at a geodetic (WGS84) place and a decimal year.

#include "igrf_model.h"

#include <string>

namespace geomag {

// Components in the geodetic frame, nT: north, east, down (along the ellipsoid normal), the
// horizontal intensity H and total intensity F; inclination I positive downward and declination D
// clockwise from geographic north, degrees.
struct MainField {
    double north = 0;
    double east = 0;
    double down = 0;
    double horizontal = 0;
    double total = 0;
    double inclination = 0;
    double declination = 0;
};

// Field at latitude (-90..90) and longitude (east, degrees), altitude above the ellipsoid (m) and
// decimal year. Refuses, with a message naming the value, a place off the globe or inside the
// Earth's core and a year the model does not cover. At a pole, north is along the given meridian.
bool igrfField(const IgrfModel& model, double latitudeDeg, double longitudeDeg, double altitudeMetres,
               double decimalYear, MainField& field, std::string& error);

} // namespace geomag
