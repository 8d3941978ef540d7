#pragma once
// Symbols of the module that host code may use directly.

#include <QtGlobal>

#if defined(SPECTRAFIL_UI_LIBRARY)
#define SPECTRAFIL_UI_EXPORT Q_DECL_EXPORT
#else
#define SPECTRAFIL_UI_EXPORT Q_DECL_IMPORT
#endif
