#include "FilterDialog.h"

#include "I2DGridMesh.h"
#include "IActionContext.h"
#include "IBaseData.h"
#include "IDataModel.h"
#include "IDataModelFilter.h"
#include "IGLWindow.h"
#include "IMain.h"
#include "IMeshList.h"
#include "IMeshListFilter.h"
#include "IModeList.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "ModeStack.h"
#include "QxtCheckComboBox.h"
#include "filter_catalogue.h"

namespace Tavorin {

namespace {

const char* const magneticTip =
    "Please select total magnetic intensity (TMI) property (expected unit is nT).";
const char* const gravityTip = "Please select terrain corrected gravity property (expected unit is mGals).";
const char* const noisyDataText = "Attenuate high frequencies\n(Select this option for noisy data)";
const char* const downwardText =
    "Attenuate high frequencies\n(Select this option for downward continuing noisy data)";

bool isGridMesh(IMesh* mesh)
{
    return dynamic_cast<I2DGridMesh*>(mesh) != nullptr;
}

// Only float cell properties that the tree shows are worth filtering.
bool isFilterableData(IBaseData* data)
{
    return data->dataClass() == IBaseData::CellData && data->dataType() == IBaseData::FloatData &&
           data->isVisibleInTree();
}

// The object hit by the last pick in the current view, if it is a 2D grid.
I2DGridMesh* pickedGrid()
{
    IMesh* hit = IMain::getCurrentGLWindow()->getMouseActionContext()->GetPtr();
    return dynamic_cast<I2DGridMesh*>(hit);
}

} // namespace

IFilterDialog::IFilterDialog(IGeoPhysFilterType type, QWidget* parent)
    : QDialog(parent), _properties_selector(nullptr), _filter_type(type)
{
    setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    attachGridList();

    _properties_selector = new QxtCheckComboBox(this);
    _properties_layout->insertWidget(1, _properties_selector);

    showGroupsOfType();
    adjustSize();

    connect(_grid_combobox, SIGNAL(currentIndexChanged(int)), this, SLOT(updatePropertiesSelector()));
    connect(_grid_pick_button, &QPushButton::clicked, this, &IFilterDialog::pickGrid);
    connect(_ok_button, &QPushButton::clicked, this, &IFilterDialog::accept);
    connect(_cancel_button, &QPushButton::clicked, this, &QWidget::close);
    connect(_apply_button, &QPushButton::clicked, this, &IFilterDialog::filter);

    // The combo box made a grid current before it was connected; show that grid's properties now.
    updatePropertiesSelector();
}

IFilterDialog::~IFilterDialog() = default;

// Attaching the model makes its first row current; sorting afterwards keeps that grid current.
void IFilterDialog::attachGridList()
{
    auto* grids = new IMeshListFilter(IUniverse::Instance()->ThisWorld()->MeshList(), _grid_combobox);
    grids->setFilterFunction(isGridMesh);
    _grid_combobox->setModel(grids);
    grids->sort(0, Qt::AscendingOrder);
}

// The groups of the filter's catalogue row; the others stay hidden.
void IFilterDialog::showGroupsOfType()
{
    using namespace I2DFourierFilters;
    const FilterSpec* row = dialogFilter(_filter_type);
    const DialogForm form = row ? row->dialog : DialogForm(); // a type no filter has shows no group
    const struct {
        QWidget* group;
        unsigned bit;
    } groups[] = {{_obs_frame, ObservationGroup},   {_inducing_field_frame, InducingFieldGroup},
                  {_incl_decl_frame, DirectionGroup}, {_method_frame, MethodGroup},
                  {_continuation_frame, ContinuationGroup}, {_strike_frame, StrikeGroup},
                  {_wavelength_frame, WavelengthGroup}, {_attenuate_checkbox, AttenuateGroup}};
    for (const auto& g : groups)
        g.group->setVisible(form.groups & g.bit);
    _tip_label->setVisible(form.tip != DataTip::None);
    _tip_label->setText(QLatin1String(form.tip == DataTip::Gravity ? gravityTip : magneticTip));
    _continuation_tip_label->setVisible(form.groups & ContinuationGroup);
    _wavelength_label->setText(QLatin1String(form.wavelengthLabel));
    _attenuate_checkbox->setText(QLatin1String(form.downwardAttenuateText ? downwardText : noisyDataText));
}

// The grid named by the combo box, if the world still holds a 2D grid of that name.
I2DGridMesh* IFilterDialog::chosenGrid() const
{
    IMesh* mesh = IUniverse::Instance()->ThisWorld()->MeshList()->Mesh(_grid_combobox->currentText());
    return dynamic_cast<I2DGridMesh*>(mesh);
}

void IFilterDialog::updatePropertiesSelector()
{
    I2DGridMesh* grid = chosenGrid();
    if (!grid)
        return;
    const QSignalBlocker blocker(_properties_selector);

    if (QAbstractItemModel* old = _properties_selector->model())
        old->deleteLater();
    auto* dataModel = new IDataModel(grid, this);
    auto* filterable = new IDataModelFilter(dataModel, dataModel);
    filterable->setFilterFunction(isFilterableData);
    filterable->setLocalCheckstate(true);
    _properties_selector->setModel(filterable);
    filterable->sort(0, Qt::AscendingOrder);

    if (IBaseData* painted = grid->GetPaintedData(world()->currentGLViewID())) {
        _properties_selector->uncheckAll();
        _properties_selector->setCheckedItems(QStringList(painted->Name()));
    }
}

void IFilterDialog::accept()
{
    filter();
    QDialog::accept();
}

void IFilterDialog::pickGrid()
{
    Mode* pick = IUniverse::Instance()->GetModeList()->GetMode(QStringLiteral("Pick object"));
    ModeStack* stack = IUniverse::Instance()->ThisWorld()->GetModeStack();
    stack->Push(pick, nullptr);
    connect(stack, SIGNAL(stackAboutToPop(Mode*)), this, SLOT(setGridFromMode()));
}

void IFilterDialog::setGridFromMode()
{
    if (I2DGridMesh* grid = pickedGrid())
        _grid_combobox->setCurrentText(grid->Name());
    IUniverse::Instance()->ThisWorld()->GetModeStack()->disconnect(this);
}

void IFilterDialog::setGrid(I2DGridMesh* grid)
{
    _grid_combobox->setCurrentText(grid->Name());
}

void IFilterDialog::setProperties(const QStringList& names)
{
    _properties_selector->uncheckAll();
    _properties_selector->setCheckedItems(names);
}

} // namespace Tavorin
