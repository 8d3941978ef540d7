#include "rtp_dialog.h"

#include "igrf_at_grid.h"
#include "ui_rtp_dialog.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IBaseListData.h>
#include <ILogger.h>
#include <IUniverse.h>
#include <IWorld.h>

#include <QDate>
#include <QPushButton>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace spectrafil {
namespace {

using I2DFourierFilters::Stabilisation;

// The values the dialog takes; a spin box's range is its value's, so that typing cannot leave it.
struct Range {
    double low;
    double high;
    bool lowOpen; // the low end itself is excluded
    const char* unit;
};
constexpr Range InclinationRange{-90, 90, false, "°"};
constexpr Range DeclinationRange{-360, 360, false, "°"};
constexpr Range LimitRange{0, 90, true, "°"};
constexpr Range YearRange{1900, 2030, false, ""};
constexpr Range AltitudeRange{-1000, 1000000, false, " m"};

QString withUnit(double value, const Range& range)
{
    return QString::number(value, 'g', 10) + QString::fromUtf8(range.unit);
}

// Empty when value is in range; otherwise a message naming the value and the range.
QString outside(const QString& name, double value, const Range& range)
{
    const bool aboveLow = range.lowOpen ? value > range.low : value >= range.low;
    if (aboveLow && value <= range.high)
        return QString();
    const QString allowed = range.lowOpen
                                ? QStringLiteral("more than %1 and at most %2")
                                : QStringLiteral("within %1 to %2");
    return QStringLiteral("%1 %2: must be %3")
        .arg(name, withUnit(value, range), allowed.arg(withUnit(range.low, range), withUnit(range.high, range)));
}

struct ValueCheck {
    QString name;
    double value;
    Range range;
};

void applyRange(QDoubleSpinBox* box, const Range& range, int decimals)
{
    box->setDecimals(decimals);
    box->setRange(range.lowOpen ? range.low + std::pow(10.0, -decimals) : range.low, range.high);
}

// The stabilisation combo box's rows: Automatic, Off, Limited gain.
const Stabilisation::Method RowMethods[] = {Stabilisation::Auto, Stabilisation::None, Stabilisation::LimitedGain};

Stabilisation::Method methodAt(int row)
{
    return RowMethods[std::clamp(row, 0, int(std::size(RowMethods)) - 1)];
}

int stabilisationRow(Stabilisation::Method method)
{
    return int(std::find(std::begin(RowMethods), std::end(RowMethods), method) - std::begin(RowMethods));
}

// The items the module's filters take too: float cell items shown in the tree.
bool isFilterable(const Tavorin::IBaseData* data)
{
    return qobject_cast<const Tavorin::IBaseDataFloat*>(data) && data->dataClass() == Tavorin::IBaseData::CellData &&
           data->isVisibleInTree();
}

double todayAsDecimalYear()
{
    const QDate today = QDate::currentDate();
    return today.year() + (today.dayOfYear() - 1) / double(today.daysInYear());
}

} // namespace

RtpDialog::RtpDialog(Tavorin::I2DGridMesh* grid, const GridFileInfo* file, QWidget* parent)
    : QDialog(parent)
    , ui_(std::make_unique<Ui::RtpDialog>())
    , grid_(grid)
{
    ui_->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setRanges();
    ui_->limitInclination->setValue(I2DFourierFilters::DefaultLimitInclination);
    ui_->igrfYear->setValue(std::clamp(todayAsDecimalYear(), YearRange.low, YearRange.high));
    ui_->gridName->setText(grid->Name());
    listItems(grid->GetPaintedData(Tavorin::world()->currentGLViewID()));
    if (file)
        file_ = *file;
    if (file_.crsWkt.isEmpty()) {
        ui_->igrfCompute->setEnabled(false);
        ui_->igrfReport->setText(tr("The grid's file carries no coordinate reference system, so IGRF cannot place "
                                    "its centre: type the field direction in."));
    }
    followChoices();
    adjustSize();
    connect(ui_->induced, &QCheckBox::toggled, this, &RtpDialog::followChoices);
    connect(ui_->stabilisation, qOverload<int>(&QComboBox::currentIndexChanged), this, &RtpDialog::followChoices);
    connect(ui_->igrfCompute, &QPushButton::clicked, this, &RtpDialog::computeFieldFromIgrf);
    connect(ui_->buttons, &QDialogButtonBox::accepted, this, &RtpDialog::accept);
    connect(ui_->buttons, &QDialogButtonBox::rejected, this, &RtpDialog::reject);
}

RtpDialog::~RtpDialog() = default;

RtpSettings RtpDialog::settings() const
{
    RtpSettings s;
    s.dataName = ui_->dataCombo->currentText();
    s.induced = ui_->induced->isChecked();
    const auto fieldInclination = float(ui_->fieldInclination->value());
    const auto fieldDeclination = float(ui_->fieldDeclination->value());
    s.directions = I2DFourierFilters::inducedDirections(fieldInclination, fieldDeclination);
    if (!s.induced) {
        s.directions.magInclination = float(ui_->magInclination->value());
        s.directions.magDeclination = float(ui_->magDeclination->value());
    }
    s.stabilisation.method = methodAt(ui_->stabilisation->currentIndex());
    if (s.stabilisation.method == Stabilisation::LimitedGain)
        s.stabilisation.value = ui_->limitInclination->value();
    s.igrfYear = ui_->igrfYear->value();
    s.igrfAltitude = ui_->igrfAltitude->value();
    return s;
}

bool RtpDialog::setSettings(const RtpSettings& s, QString& error)
{
    error = problemWith(s);
    if (!error.isEmpty())
        return false;
    ui_->dataCombo->setCurrentIndex(ui_->dataCombo->findText(s.dataName));
    ui_->fieldInclination->setValue(s.directions.fieldInclination);
    ui_->fieldDeclination->setValue(s.directions.fieldDeclination);
    ui_->induced->setChecked(s.induced);
    ui_->magInclination->setValue(s.directions.magInclination);
    ui_->magDeclination->setValue(s.directions.magDeclination);
    ui_->stabilisation->setCurrentIndex(stabilisationRow(s.stabilisation.method));
    if (s.stabilisation.method == Stabilisation::LimitedGain)
        ui_->limitInclination->setValue(s.stabilisation.value);
    ui_->igrfYear->setValue(s.igrfYear);
    ui_->igrfAltitude->setValue(s.igrfAltitude);
    return true;
}

QString RtpDialog::problemWith(const RtpSettings& s) const
{
    if (ui_->dataCombo->findText(s.dataName) < 0)
        return ui_->dataCombo->count() == 0
                   ? tr("The grid has no float cell item to reduce.")
                   : tr("\"%1\" is not a float cell item of the grid.").arg(s.dataName);
    QVector<ValueCheck> checks{{tr("Field inclination"), s.directions.fieldInclination, InclinationRange},
                               {tr("Field declination"), s.directions.fieldDeclination, DeclinationRange}};
    if (!s.induced)
        checks += {{tr("Magnetisation inclination"), s.directions.magInclination, InclinationRange},
                   {tr("Magnetisation declination"), s.directions.magDeclination, DeclinationRange}};
    if (s.stabilisation.method == Stabilisation::LimitedGain)
        checks += {tr("Limit inclination"), s.stabilisation.value, LimitRange};
    checks += {{tr("IGRF year"), s.igrfYear, YearRange}, {tr("IGRF altitude"), s.igrfAltitude, AltitudeRange}};
    for (const ValueCheck& check : checks) {
        const QString problem = outside(check.name, check.value, check.range);
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

bool RtpDialog::computeFieldFromIgrf()
{
    const RtpSettings s = settings();
    QString error = outside(tr("IGRF year"), s.igrfYear, YearRange);
    IgrfAtGrid field;
    if (!error.isEmpty() || !igrfAtGridCentre(file_, s.igrfYear, s.igrfAltitude, field, error)) {
        showIgrfReport(error);
        return false;
    }
    ui_->fieldInclination->setValue(field.inclination);
    ui_->fieldDeclination->setValue(field.declination);
    const QString report = describeIgrf(field);
    showIgrfReport(report);
    Tavorin::ILogger::write2Log(report, Tavorin::ILogger::Information);
    return true;
}

void RtpDialog::accept()
{
    const RtpSettings s = settings();
    QString problem = problemWith(s);
    Tavorin::IBaseData* data = chosenItem();
    if (problem.isEmpty() && (!grid_ || !data))
        problem = tr("The grid or its item is no longer open.");
    if (!problem.isEmpty()) {
        showProblem(problem);
        return;
    }
    if (!I2DFourierFilters::rtpStable(grid_, data, s.directions, s.stabilisation, QString())) {
        showProblem(tr("The reduction to the pole of \"%1\" made no result; the log says why.").arg(s.dataName));
        return;
    }
    warnWhenStabilised(s);
    QDialog::accept();
}

// Items are told apart by position, since names need not be unique.
void RtpDialog::listItems(Tavorin::IBaseData* preferred)
{
    for (Tavorin::IBaseData* data : grid_->DataList()->items())
        if (isFilterable(data)) {
            ui_->dataCombo->addItem(data->Name(), QVariant::fromValue(static_cast<QObject*>(data)));
            if (data == preferred)
                ui_->dataCombo->setCurrentIndex(ui_->dataCombo->count() - 1);
        }
}

void RtpDialog::setRanges()
{
    applyRange(ui_->fieldInclination, InclinationRange, 2);
    applyRange(ui_->fieldDeclination, DeclinationRange, 2);
    applyRange(ui_->magInclination, InclinationRange, 2);
    applyRange(ui_->magDeclination, DeclinationRange, 2);
    applyRange(ui_->limitInclination, LimitRange, 2);
    applyRange(ui_->igrfYear, YearRange, 2);
    applyRange(ui_->igrfAltitude, AltitudeRange, 0);
}

// The magnetisation's own direction counts only for remanence, the limit only for Limited gain.
void RtpDialog::followChoices()
{
    const bool remanent = !ui_->induced->isChecked();
    for (QWidget* widget : QList<QWidget*>{ui_->magInclination, ui_->magDeclination, ui_->magInclinationCaption,
                                           ui_->magDeclinationCaption})
        widget->setEnabled(remanent);
    const bool limited = methodAt(ui_->stabilisation->currentIndex()) == Stabilisation::LimitedGain;
    ui_->limitInclination->setEnabled(limited);
    ui_->limitInclinationCaption->setEnabled(limited);
}

Tavorin::IBaseData* RtpDialog::chosenItem() const
{
    auto* data = qobject_cast<Tavorin::IBaseData*>(ui_->dataCombo->currentData().value<QObject*>());
    return data && grid_ && grid_->DataList()->items().contains(data) ? data : nullptr;
}

// Wrapped text changes the height the dialog needs.
void RtpDialog::showIgrfReport(const QString& text)
{
    ui_->igrfReport->setText(text);
    adjustSize();
}

void RtpDialog::showProblem(const QString& text)
{
    ui_->problem->setText(text);
    adjustSize();
}

// Automatic stabilisation changes the result only at shallow inclinations; the user learns when.
void RtpDialog::warnWhenStabilised(const RtpSettings& s) const
{
    const Stabilisation applied = I2DFourierFilters::resolveStabilisation(s.stabilisation, s.directions);
    if (s.stabilisation.method != Stabilisation::Auto || applied.method != Stabilisation::LimitedGain)
        return;
    const bool fieldShallower = std::fabs(s.directions.fieldInclination) <= std::fabs(s.directions.magInclination);
    const QString which = fieldShallower ? tr("field") : tr("magnetisation");
    const double inclination = fieldShallower ? s.directions.fieldInclination : s.directions.magInclination;
    Tavorin::ILogger::write2Log(
        tr("Reduction to the pole of \"%1\": the %2 inclination %3° is below %4° in size, where the plain division "
           "grows without bound, so the stabilised response was used (gain limited to that at %5°).")
            .arg(s.dataName, which, QString::number(inclination, 'g', 6),
                 QString::number(I2DFourierFilters::SteepInclination))
            .arg(applied.value),
        Tavorin::ILogger::Warning);
}

} // namespace spectrafil
