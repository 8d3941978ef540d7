#pragma once
// Loading the Spectrafil module the way a host application does: find its shared library, load it
// at run time and call its entry point TavorinModuleV1, which registers the module's actions.

#include <QString>
#include <QStringList>

namespace spectrafil {

struct ModuleLoad {
    bool loaded = false;   // the library is loaded and its entry point ran
    QString path;          // the library tried, or empty when none was found
    QString moduleName;    // the name the module gave; empty when it added nothing
    QString message;       // what to tell the user: why it failed, or what was loaded
};

// Where the module is looked for, in order: beside the executable, in ../lib and ../<libdir>
// beside it, in the build tree, in the install location.
QStringList moduleCandidates();

// Loads the first existing candidate (or exactly `path` when it is not empty) and calls its entry
// point on the calling thread, which must be the GUI thread. The library stays loaded for the
// life of the process, since the actions it registers live in it.
ModuleLoad loadModule(const QString& path = QString());

} // namespace spectrafil
