#include "FilterActions.h"

#include "FilterDialog.h"
#include "I2DGridMesh.h"
#include "IMain.h"
#include "ISelectionModel.h"
#include "IUniverse.h"
#include "IWorld.h"
#include "TavorinIcons.h"
#include "filter_catalogue.h"

namespace Tavorin {

namespace {

// What every filter action does on construction besides connecting its own handler: its text is
// the catalogue's for the dialog's filter type.
void setUpFilterAction(QAction* action, IFilterDialog::IGeoPhysFilterType type)
{
    action->setText(QLatin1String(I2DFourierFilters::dialogFilter(type)->dialog.menuText));
    action->setIcon(getTavorinIcon(QStringLiteral("function")));
}

template <typename Action>
QAction* makeAction(QObject* parent)
{
    return new Action(parent);
}

// Opens a modeless dialog that deletes itself when closed; the action keeps no pointer to it.
void openFilterDialog(const QAction* action, IFilterDialog::IGeoPhysFilterType type)
{
    auto* dialog = new IFilterDialog(type, IMain::Instance());
    dialog->setWindowTitle(action->text());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    IMesh* selected = IUniverse::Instance()->ThisWorld()->getSelectionModel()->getMesh();
    if (auto* grid = dynamic_cast<I2DGridMesh*>(selected))
        dialog->setGrid(grid);
    dialog->show();
}

} // namespace

ILowPassFourierFilterAction::ILowPassFourierFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::LowPass);
    connect(this, &QAction::triggered, this, &ILowPassFourierFilterAction::showFilterDialog);
}

void ILowPassFourierFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::LowPass);
}

IHighPassFourierFilterAction::IHighPassFourierFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::HighPass);
    connect(this, &QAction::triggered, this, &IHighPassFourierFilterAction::showFilterDialog);
}

void IHighPassFourierFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::HighPass);
}

IRTPFourierFilterAction::IRTPFourierFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::RTP);
    connect(this, &QAction::triggered, this, &IRTPFourierFilterAction::showFilterDialog);
}

void IRTPFourierFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::RTP);
}

IApparentSusceptibilityFilterAction::IApparentSusceptibilityFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::ApparentSusceptibility);
    connect(this, &QAction::triggered, this, &IApparentSusceptibilityFilterAction::showFilterDialog);
}

void IApparentSusceptibilityFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::ApparentSusceptibility);
}

IApparentDensityFilterAction::IApparentDensityFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::ApparentDensity);
    connect(this, &QAction::triggered, this, &IApparentDensityFilterAction::showFilterDialog);
}

void IApparentDensityFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::ApparentDensity);
}

IPseudoGravityFilterAction::IPseudoGravityFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::PseudoGravity);
    connect(this, &QAction::triggered, this, &IPseudoGravityFilterAction::showFilterDialog);
}

void IPseudoGravityFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::PseudoGravity);
}

IVerticalDerivativeFourierFilterAction::IVerticalDerivativeFourierFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::VerticalDerivative);
    connect(this, &QAction::triggered, this, &IVerticalDerivativeFourierFilterAction::showFilterDialog);
}

void IVerticalDerivativeFourierFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::VerticalDerivative);
}

IHorizontalDerivativeFourierFilterAction::IHorizontalDerivativeFourierFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::HorizontalDerivative);
    connect(this, &QAction::triggered, this, &IHorizontalDerivativeFourierFilterAction::showFilterDialog);
}

void IHorizontalDerivativeFourierFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::HorizontalDerivative);
}

IContinuationFourierFilterAction::IContinuationFourierFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::Continuation);
    connect(this, &QAction::triggered, this, &IContinuationFourierFilterAction::showFilterDialog);
}

void IContinuationFourierFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::Continuation);
}

IStrikeFourierFilterAction::IStrikeFourierFilterAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::Strike);
    connect(this, &QAction::triggered, this, &IStrikeFourierFilterAction::showFilterDialog);
}

void IStrikeFourierFilterAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::Strike);
}

IComputeAnalyticSignalAction::IComputeAnalyticSignalAction(QObject* parent)
    : QAction(parent)
{
    setUpFilterAction(this, IFilterDialog::AnalyticSignal);
    connect(this, &QAction::triggered, this, &IComputeAnalyticSignalAction::showFilterDialog);
}

void IComputeAnalyticSignalAction::showFilterDialog()
{
    openFilterDialog(this, IFilterDialog::AnalyticSignal);
}

QAction* createFilterAction(IFilterDialog::IGeoPhysFilterType type, QObject* parent)
{
    using Factory = QAction* (*)(QObject*);
    static const Factory factories[] = {
        makeAction<ILowPassFourierFilterAction>,
        makeAction<IHighPassFourierFilterAction>,
        makeAction<IRTPFourierFilterAction>,
        makeAction<IApparentSusceptibilityFilterAction>,
        makeAction<IApparentDensityFilterAction>,
        makeAction<IPseudoGravityFilterAction>,
        makeAction<IVerticalDerivativeFourierFilterAction>,
        makeAction<IHorizontalDerivativeFourierFilterAction>,
        makeAction<IContinuationFourierFilterAction>,
        makeAction<IStrikeFourierFilterAction>,
        makeAction<IComputeAnalyticSignalAction>,
    };
    return factories[type](parent);
}

} // namespace Tavorin
