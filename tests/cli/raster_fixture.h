#pragma once
// Raster files made and read back with GDAL's own interface, independent of the code under test,
// and the tool run as a subprocess.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

struct Raster {
    int columns = 0;
    int rows = 0;
    std::array<double, 6> geoTransform{{0, 1, 0, 0, 0, -1}};
    std::string crsWkt;
    bool hasNoData = false;
    double noData = 0;
    std::vector<double> values; // row by row as stored
    std::string units;
};

// Writes through an in-memory copy, so drivers without Create (AAIGrid) work too.
void writeRaster(const std::string& path, const char* driver, const Raster& raster);
Raster readRaster(const std::string& path);
std::string epsgWkt(int code);
bool sameCrs(const std::string& a, const std::string& b);

// A smooth bump on a slope, north-up, cells of 100 m: a small grid every filter can take.
Raster bumpGrid(int columns, int rows);

struct ToolRun {
    int exitCode = -1; // -1: it did not end by itself within a minute
    QString out;
    QString err;
};
// A program run to its end, with the environment given (the process's own by default).
ToolRun runProgram(const QString& program, const QStringList& arguments,
                   const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());
ToolRun runTool(const QStringList& arguments);
// The tool's arguments from plain strings.
QStringList args(std::initializer_list<std::string> list);
