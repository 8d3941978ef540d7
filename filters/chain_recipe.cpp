// Recipe files of chains: JSON, {"steps": [{"filter": ID, PARAMETER: VALUE, ...}, ...]}, the
// parameters by the catalogue's keys (the tool's option names without "--").

#include "filter_chain.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace I2DFourierFilters {

namespace {

// Insertions, deletions and substitutions that turn a into b.
int editDistance(const QString& a, const QString& b)
{
    std::vector<int> row(size_t(b.size()) + 1);
    for (int j = 0; j <= b.size(); ++j)
        row[size_t(j)] = j;
    for (int i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = i;
        for (int j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] = std::min({above + 1, row[size_t(j) - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[size_t(b.size())];
}

} // namespace

QString unknownFilterMessage(const QString& id, int stepNumber)
{
    QString closest;
    int distance = 3; // farther than two edits is no likely typing slip
    for (const FilterSpec& row : filterCatalogue()) {
        const int d = editDistance(id, QLatin1String(row.id));
        if (d < distance) {
            distance = d;
            closest = QLatin1String(row.id);
        }
    }
    const QString message = QStringLiteral("unknown filter '%1' in step %2").arg(id).arg(stepNumber);
    return closest.isEmpty() ? message : QStringLiteral("%1; did you mean '%2'?").arg(message, closest);
}

std::vector<ChainStep> readRecipe(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("recipe %1: %2").arg(path, file.errorString());
        return {};
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        error = QStringLiteral("recipe %1: not JSON (%2 at character %3)").arg(path, parse.errorString()).arg(parse.offset);
        return {};
    }
    const QJsonValue list = document.object().value(QStringLiteral("steps"));
    if (!list.isArray() || list.toArray().isEmpty()) {
        error = QStringLiteral("recipe %1: needs \"steps\", a list of at least one {\"filter\": NAME, ...}").arg(path);
        return {};
    }
    std::vector<ChainStep> steps;
    for (const QJsonValue& item : list.toArray()) {
        const int number = int(steps.size()) + 1;
        QVariantMap given = item.toObject().toVariantMap();
        const QString id = given.take(QStringLiteral("filter")).toString();
        if (!item.isObject() || id.isEmpty()) {
            error = QStringLiteral("recipe %1: step %2 names no \"filter\"").arg(path).arg(number);
            return {};
        }
        const FilterSpec* filter = findFilter(id);
        if (!filter) {
            error = QStringLiteral("recipe %1: %2").arg(path, unknownFilterMessage(id, number));
            return {};
        }
        steps.push_back({filter, given});
    }
    return steps;
}

bool writeRecipe(const QString& path, const std::vector<ChainStep>& steps, QString& error)
{
    QJsonArray list;
    for (const ChainStep& step : steps) {
        QJsonObject object = QJsonObject::fromVariantMap(step.values);
        object.insert(QStringLiteral("filter"), QLatin1String(step.filter->id));
        list.append(object);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(QJsonObject{{QStringLiteral("steps"), list}}).toJson()) < 0
        || !file.commit()) {
        error = QStringLiteral("recipe %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace I2DFourierFilters
