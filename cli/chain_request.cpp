#include "chain_request.h"

#include "filter_request.h"

#include <QStringList>

namespace spectrafil {

namespace F = I2DFourierFilters;

F::ChainStep parseStepWord(const QString& word, int stepNumber, QString& error)
{
    const QString id = word.section(QLatin1Char(':'), 0, 0);
    const QString settings = word.section(QLatin1Char(':'), 1);
    F::ChainStep step;
    const F::FilterSpec* filter = F::findFilter(id);
    if (!filter) {
        error = F::unknownFilterMessage(id, stepNumber);
        return step;
    }
    if (!settings.isEmpty())
        for (const QString& setting : settings.split(QLatin1Char(','))) {
            const QString key = setting.section(QLatin1Char('='), 0, 0).trimmed();
            if (key.isEmpty()) {
                error = QStringLiteral("step %1 (%2): '%3' is no key=value").arg(stepNumber).arg(id, setting);
                return step;
            }
            step.values.insert(key, setting.contains(QLatin1Char('=')) ? QVariant(setting.section(QLatin1Char('='), 1))
                                                                        : QVariant(true));
        }
    step.filter = filter;
    return step;
}

QString completeChain(const std::vector<F::ChainStep>& given, std::vector<F::ChainStep>& steps)
{
    steps.clear();
    for (size_t i = 0; i < given.size(); ++i) {
        QString error;
        const QVariantMap values = F::completeParameters(*given[i].filter, given[i].values, error);
        if (!error.isEmpty())
            return QStringLiteral("step %1 (%2): %3").arg(i + 1).arg(QLatin1String(given[i].filter->id), error);
        steps.push_back({given[i].filter, values});
    }
    const QString refusal = F::chainRefusal(steps);
    if (!refusal.isEmpty())
        steps.clear();
    return refusal;
}

QString describeChain(const std::vector<F::ChainStep>& steps, const QString& lengthUnit)
{
    QStringList parts;
    for (const F::ChainStep& step : steps) {
        const QStringList phrases = describeParameters(*step.filter, step.values, lengthUnit);
        const QString id = QLatin1String(step.filter->id);
        parts << (phrases.isEmpty() ? id : QStringLiteral("%1 (%2)").arg(id, phrases.join(QStringLiteral(", "))));
    }
    return parts.join(QStringLiteral(" > "));
}

} // namespace spectrafil
