#pragma once
// Names of host objects. An IString is a QString, so it goes wherever a QString goes; adding a
// suffix keeps the host type so a derived name can be handed on as a name again.

#include <QString>

namespace Tavorin {

class IString : public QString {
public:
    IString() = default;
    IString(const QString& text) : QString(text) {}
    IString(const char* text) : QString(QString::fromUtf8(text)) {}

    IString operator+(const QString& suffix) const { return IString(QString(*this).append(suffix)); }
    IString operator+(const char* suffix) const { return *this + QString::fromUtf8(suffix); }
};

} // namespace Tavorin
