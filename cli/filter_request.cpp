#include "filter_request.h"

namespace spectrafil {
namespace {

namespace F = I2DFourierFilters;

QString number(double value) { return QString::number(value, 'g', 7); }

QString phrase(const F::ParameterSpec& p, const QVariant& value, const QString& lengthUnit)
{
    const QString name = QString::fromLatin1(p.key).replace(QLatin1Char('-'), QLatin1Char(' '));
    switch (p.kind) {
    case F::ParameterKind::Flag:
        return value.toBool() ? QString::fromLatin1(p.key) : QString();
    case F::ParameterKind::Text:
        return QString(); // the stabilisation: said below when it applies
    case F::ParameterKind::Choice:
        return QStringLiteral("%1 %2").arg(name, value.toString());
    case F::ParameterKind::Length:
    case F::ParameterKind::Wavelength:
        return QStringLiteral("%1 %2").arg(name, lengthPhrase(value.toDouble(), lengthUnit));
    case F::ParameterKind::Angle:
        return QStringLiteral("%1 %2 deg").arg(name, number(value.toDouble()));
    case F::ParameterKind::Number:
    case F::ParameterKind::Integer:
        break;
    }
    return QStringLiteral("%1 %2 %3").arg(name, number(value.toDouble()), QLatin1String(p.unit)).trimmed();
}

} // namespace

QString lengthPhrase(double value, const QString& lengthUnit)
{
    const QString unit = lengthUnit == QLatin1String("grid unit") ? QStringLiteral("grid units") : lengthUnit;
    return QStringLiteral("%1 %2").arg(number(value), unit);
}

QStringList describeParameters(const FilterSpec& filter, const QVariantMap& values, const QString& lengthUnit)
{
    QStringList phrases;
    for (const F::ParameterSpec& p : filter.parameters) {
        const QVariant value = values.value(QLatin1String(p.key));
        const QString text = value.isValid() ? phrase(p, value, lengthUnit) : QString();
        if (!text.isEmpty())
            phrases << text;
    }
    if (filter.magnetic) {
        const F::Stabilisation applied = appliedStabilisation(values);
        if (applied.method == F::Stabilisation::LimitedGain)
            phrases << QStringLiteral("stabilised (limit inclination %1 deg)").arg(applied.value);
    }
    return phrases;
}

F::Stabilisation appliedStabilisation(const QVariantMap& values)
{
    return F::resolveStabilisation(F::stabilisationOf(values), F::magneticDirectionsOf(values));
}

} // namespace spectrafil
