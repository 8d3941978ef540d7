#pragma once
// Symbols of the grid operations that other host code may call.

#include <QtGlobal>

#if defined(SPECTRAFIL_FILTERS_LIBRARY)
#define SPECTRAFIL_FILTERS_EXPORT Q_DECL_EXPORT
#else
#define SPECTRAFIL_FILTERS_EXPORT Q_DECL_IMPORT
#endif
