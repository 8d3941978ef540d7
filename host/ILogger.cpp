#include "ILogger.h"

#include <algorithm>

namespace Tavorin {

ILogger* ILogger::instance()
{
    static ILogger logger;
    return &logger;
}

void ILogger::write2Log(const QString& text, int level)
{
    instance()->add(text, std::clamp(level, int(Information), int(Error)));
}

void ILogger::add(const QString& text, int level)
{
    entries_.append({QDateTime::currentDateTime(), level, text});
    emit entryAdded(text, level);
}

QString ILogger::levelName(int level)
{
    switch (level) {
    case Warning:
        return QStringLiteral("warning");
    case Error:
        return QStringLiteral("error");
    default:
        return QStringLiteral("info");
    }
}

} // namespace Tavorin
