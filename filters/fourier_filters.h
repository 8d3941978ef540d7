#pragma once
// Fourier-domain filters for a float cell property of a 2D grid. Each function runs the spectral
// engine on the grid's defined cells and stores the filtered values as a new property of the grid,
// named resultName, or the source name plus the filter's suffix when resultName is empty.
// Every step and every failure is reported through the host log; the result says whether the new
// property was made and filled. Not re-entrant: the operations share the current directory and
// the engine's fixed file names.

#include "filters_export.h"

#include "I2DGridMesh.h"
#include "IBaseData.h"

#include <QString>

namespace I2DFourierFilters {

enum HDMethod { TotalHorizontal = 0, EastWest = 1, NorthSouth = 2 };

SPECTRAFIL_FILTERS_EXPORT bool lowPass(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float cutoff,
                                       QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool highPass(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float cutoff,
                                        QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool rtp(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float inclination,
                                   float declination, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool apparentSusceptibility(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                      float height, float fieldStrength, float inclination,
                                                      float declination, bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool apparentDensity(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                               bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool pseudoGravity(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                             float fieldStrength, float inclination, float declination,
                                             QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool firstVerticalDerivative(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                       bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool firstHorizontalDerivative(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                                         HDMethod method, bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool continuation(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float distance,
                                            bool attenuate, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool strike(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, float strike,
                                      float tolerance, float cutoff, QString resultName);
SPECTRAFIL_FILTERS_EXPORT bool analyticSignal(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data,
                                              bool attenuate, QString resultName);

} // namespace I2DFourierFilters
