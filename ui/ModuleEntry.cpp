// The entry point the host calls after loading the module: names the module and offers one context
// action per filter on 2D grids. The module keeps no state; the host keeps the actions.

#include "FilterActions.h"
#include "I2DGridMesh.h"
#include "IContextActionManager.h"
#include "IUniverse.h"
#include "filter_catalogue.h"

#include <functional>

namespace {

const char moduleName[] = "Spectrafil";

bool isGridEntity(Tavorin::ITreeEntity* entity)
{
    return dynamic_cast<Tavorin::I2DGridMesh*>(entity) != nullptr;
}

void registerForGrids(QAction* action)
{
    const std::function<bool(Tavorin::ITreeEntity*)> acceptsEntity(isGridEntity);
    Tavorin::IContextActionManager::instance()->registerAction(action, acceptsEntity);
}

} // namespace

extern "C" Q_DECL_EXPORT void TavorinModuleV1(const char** nameSlot)
{
    using namespace Tavorin;
    if (!universe()->futureFeaturesEnabled())
        return;
    *nameSlot = moduleName;
    // The dialog's filters, in the catalogue's order.
    for (const I2DFourierFilters::FilterSpec& filter : I2DFourierFilters::filterCatalogue())
        if (filter.dialog.filterType >= 0)
            registerForGrids(
                createFilterAction(static_cast<IFilterDialog::IGeoPhysFilterType>(filter.dialog.filterType), nullptr));
}
