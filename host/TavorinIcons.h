#pragma once
// The host's named application icons, from the resources under ":/application/icons/". The
// resources are registered when the library is loaded, so modules can also use the paths directly.

#include <QIcon>
#include <QString>

namespace Tavorin {

// The icon named name ("function", "blue_arrow", ...); a null icon for an unknown name.
QIcon getTavorinIcon(const QString& name);

// Path of a named icon's resource, e.g. ":/application/icons/function.png".
QString tavorinIconPath(const QString& name);

} // namespace Tavorin
