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
    return data->dataClass() == 2 && data->dataType() == 2 && data->isVisibleInTree();
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

void IFilterDialog::showGroupsOfType()
{
    const QList<QWidget*> groups{_obs_frame,         _inducing_field_frame, _incl_decl_frame,
                                 _method_frame,      _continuation_frame,   _strike_frame,
                                 _wavelength_frame,  _attenuate_checkbox,   _tip_label,
                                 _continuation_tip_label};
    for (QWidget* group : groups)
        group->hide();
    _wavelength_label->setText(QStringLiteral("Wavelength cutoff :"));
    _attenuate_checkbox->setText(QLatin1String(noisyDataText));

    switch (_filter_type) {
    case LowPass:
    case HighPass:
        _wavelength_frame->show();
        break;
    case RTP:
        _incl_decl_frame->show();
        break;
    case ApparentSusceptibility:
        _obs_frame->show();
        _inducing_field_frame->show();
        _incl_decl_frame->show();
        _attenuate_checkbox->show();
        _tip_label->show();
        _tip_label->setText(QLatin1String(magneticTip));
        break;
    case ApparentDensity:
        _attenuate_checkbox->show();
        _tip_label->show();
        _tip_label->setText(QLatin1String(gravityTip));
        break;
    case PseudoGravity:
        _inducing_field_frame->show();
        _incl_decl_frame->show();
        _tip_label->show();
        _tip_label->setText(QLatin1String(magneticTip));
        break;
    case VerticalDerivative:
    case AnalyticSignal:
        _attenuate_checkbox->show();
        break;
    case HorizontalDerivative:
        _method_frame->show();
        _attenuate_checkbox->show();
        break;
    case Continuation:
        _continuation_frame->show();
        _attenuate_checkbox->show();
        _continuation_tip_label->show();
        _attenuate_checkbox->setText(QLatin1String(downwardText));
        break;
    case Strike:
        _strike_frame->show();
        _wavelength_frame->show();
        _wavelength_label->setText(QStringLiteral("Low pass wavelength :"));
        break;
    }
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
