#pragma once
// Application settings that the host's services and modules share.

#include <QString>

namespace Tavorin {

class ISettings {
public:
    // The temporary project folder for intermediate files, created when missing. Unless set, a fresh
    // folder of this process under the system's temporary location, removed when the process ends.
    static QString getTempDir();
    // Uses the given folder from now on (created when missing); an empty path goes back to the default.
    static void setTempDir(const QString& path);
};

} // namespace Tavorin
