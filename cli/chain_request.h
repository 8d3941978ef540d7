#pragma once
// What `spectrafil chain` asks for: the steps as typed ("rtp:inclination=-53,declination=7") or
// read from a recipe, completed and checked, and how they read in metadata.

#include <filter_chain.h>

#include <QString>

#include <vector>

namespace spectrafil {

// One step word: NAME, or NAME:key=value,key=value (a flag alone, "vd:attenuate", is on). The
// step as given, or null filter with the reason (an unknown filter with the closest name).
I2DFourierFilters::ChainStep parseStepWord(const QString& word, int stepNumber, QString& error);

// Each step's parameters completed (completeParameters; a refusal names the step), then the chain
// as a whole checked; empty when it can run, steps then complete.
QString completeChain(const std::vector<I2DFourierFilters::ChainStep>& given,
                      std::vector<I2DFourierFilters::ChainStep>& steps);

// "rtp (inclination -53 deg, declination 7 deg) > vd"
QString describeChain(const std::vector<I2DFourierFilters::ChainStep>& steps, const QString& lengthUnit);

} // namespace spectrafil
