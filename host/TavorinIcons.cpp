#include "TavorinIcons.h"

#include <QFile>

// Outside any namespace, as Q_INIT_RESOURCE requires.
static void initHostResources()
{
    Q_INIT_RESOURCE(tavorin_host);
}

namespace Tavorin {

namespace {

// Registers the resources when the library is loaded, before any module asks for them.
const bool resourcesReady = [] {
    initHostResources();
    return true;
}();

} // namespace

QString tavorinIconPath(const QString& name)
{
    return QStringLiteral(":/application/icons/%1.png").arg(name);
}

QIcon getTavorinIcon(const QString& name)
{
    const QString path = tavorinIconPath(name);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace Tavorin
