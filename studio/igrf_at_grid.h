#pragma once
// The main field at a grid's centre from IGRF-14: the direction a reduction to the pole needs,
// for a grid whose file carries a coordinate reference system.

#include <QString>

namespace spectrafil {

struct GridFileInfo;

struct IgrfAtGrid {
    double longitude = 0; // the grid's centre, WGS84 degrees
    double latitude = 0;
    double year = 0;
    double inclination = 0; // degrees, positive downward
    double declination = 0; // degrees, clockwise from geographic north
    double intensity = 0;   // nT
};

// The field at the centre of the grid read from file, altitude metres above the ellipsoid, at a
// decimal year. False with a message when the file carries no CRS, the centre cannot be placed,
// the coefficients cannot be read or the model refuses the year or altitude.
bool igrfAtGridCentre(const GridFileInfo& file, double year, double altitude, IgrfAtGrid& field, QString& error);

// "IGRF-14 at 21.958°S 140.667°E, 1990.50: inclination -53.18°, declination 6.67°, intensity 51996 nT"
QString describeIgrf(const IgrfAtGrid& field);

} // namespace spectrafil
