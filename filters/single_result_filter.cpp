#include "single_result_filter.h"

#include "filter_pipeline.h"

#include "I2DGridMesh.h"
#include "IBaseData.h"
#include "IProgressBarWidget.h"


using namespace Tavorin;

namespace I2DFourierFilters {

bool givenObjects(const I2DGridMesh* grid, const IBaseData* data)
{
    if (grid && data)
        return true;
    logError(QStringLiteral("No grid or no data item given for 2D filtering"));
    return false;
}

bool acceptedForFiltering(const I2DGridMesh* grid, const IBaseData* data, QString& resultName, const QString& suffix,
                          const std::function<QString()>& rejection)
{
    if (resultName.isEmpty())
        resultName = data->Name() + suffix;
    const QString message = rejection ? rejection() : QString();
    if (!message.isEmpty()) {
        logError(message);
        return false;
    }
    if (!checkGridSuitability(grid)) {
        logError(QStringLiteral("Selected grid is not suitable for 2D filtering"));
        return false;
    }
    return true;
}

QString directionRejection(float inclination, float declination)
{
    if (inclination < -90.0f || inclination > 90.0f)
        return QStringLiteral("Inclination must be between -90 and +90");
    if (declination < -360.0f || declination > 360.0f)
        return QStringLiteral("Declination must be between -360 and +360");
    return QString();
}

bool runSingleResultFilter(I2DGridMesh* grid, IBaseData* data, QString resultName, const SingleResultFilter& filter)
{
    if (!givenObjects(grid, data))
        return false;
    TempFolderScope folder;
    if (!acceptedForFiltering(grid, data, resultName, filter.suffix, filter.rejection))
        return false;
    if (filter.afterGridCheck)
        filter.afterGridCheck();

    IProgressBarWidget progress;
    startProgress(progress, 3);
    FilterPoints points;

    if (!prepareEngineInput(grid, data, points))
        return false;
    const float divisor = filter.divisor ? filter.divisor() : 1.0f;
    if (filter.ownAnnouncement.isEmpty())
        logInfo(QStringLiteral("Writing control file for applying filter..."));
    if (!writeFilterSection(filter.filterLines(), filter.ownAnnouncement))
        return false;
    if (filter.dataDump) {
        logInfo(QStringLiteral("Completed data dump"));
        return false;
    }

    progress.incrementProgressPos();
    if (!runFilterEngine(points, true)) {
        logError(QStringLiteral("Could not run 2D filtering"));
        return false;
    }
    progress.incrementProgressPos();
    if (!loadFilteredData(points, grid, data, resultName, divisor)) {
        logError(QStringLiteral("Could not load filtered data"));
        return false;
    }
    progress.incrementProgressPos();
    return true;
}

} // namespace I2DFourierFilters
