#include "catalogue_dialog.h"

#include <I2DGridMesh.h>
#include <IBaseDataFloat.h>
#include <IBaseListData.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include <algorithm>
#include <cmath>

namespace spectrafil {
namespace {

namespace F = I2DFourierFilters;

// Spin boxes need finite bounds; a parameter without one gets a bound no survey reaches.
constexpr double kLargest = 1e9;

double bounded(double value) { return std::clamp(value, -kLargest, kLargest); }

} // namespace

CatalogueDialog::CatalogueDialog(const F::FilterSpec& filter, Tavorin::I2DGridMesh* grid, QWidget* parent)
    : QDialog(parent)
    , filter_(filter)
    , grid_(grid)
    , items_(new QComboBox(this))
    , problem_(new QLabel(this))
{
    setWindowTitle(QString::fromUtf8(filter.title));
    auto* form = new QFormLayout(this);
    auto* summary = new QLabel(QString::fromUtf8(filter.response), this);
    summary->setWordWrap(true);
    form->addRow(summary);
    for (Tavorin::IBaseData* data : grid->DataList()->items())
        if (qobject_cast<Tavorin::IBaseDataFloat*>(data) && data->dataClass() == Tavorin::IBaseData::CellData &&
            data->isVisibleInTree())
            items_->addItem(data->Name(), QVariant::fromValue(static_cast<QObject*>(data)));
    form->addRow(tr("Item"), items_);
    for (const F::ParameterSpec& parameter : filter.parameters)
        addField(parameter);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    problem_->setWordWrap(true);
    form->addRow(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CatalogueDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CatalogueDialog::reject);
}

void CatalogueDialog::addField(const F::ParameterSpec& p)
{
    QWidget* field = nullptr;
    switch (p.kind) {
    case F::ParameterKind::Flag: {
        auto* box = new QCheckBox(this);
        box->setChecked(p.defaultValue.toBool());
        field = box;
        break;
    }
    case F::ParameterKind::Choice: {
        auto* box = new QComboBox(this);
        box->addItems(QString::fromLatin1(p.choices).split(QLatin1Char('|')));
        box->setCurrentText(p.defaultValue.toString());
        field = box;
        break;
    }
    case F::ParameterKind::Text: {
        auto* line = new QLineEdit(p.defaultValue.toString(), this);
        field = line;
        break;
    }
    case F::ParameterKind::Integer: {
        auto* box = new QSpinBox(this);
        box->setRange(int(bounded(p.minimum)), int(bounded(p.maximum)));
        box->setValue(p.defaultValue.toInt());
        field = box;
        break;
    }
    default: {
        auto* box = new QDoubleSpinBox(this);
        box->setDecimals(3);
        box->setRange(bounded(p.minimum), bounded(p.maximum));
        box->setValue(p.defaultValue.isValid() ? p.defaultValue.toDouble() : std::max(0.0, bounded(p.minimum)));
        box->setSuffix(*p.unit ? QStringLiteral(" %1").arg(QLatin1String(p.unit)) : QString());
        field = box;
        break;
    }
    }
    field->setObjectName(QLatin1String(p.key));
    field->setToolTip(QString::fromUtf8(p.help));
    static_cast<QFormLayout*>(layout())->addRow(QString::fromUtf8(p.label), field);
    fields_.insert(QLatin1String(p.key), field);
}

QVariantMap CatalogueDialog::values() const
{
    QVariantMap values;
    for (auto it = fields_.begin(); it != fields_.end(); ++it) {
        if (auto* box = qobject_cast<QCheckBox*>(it.value()))
            values.insert(it.key(), box->isChecked());
        else if (auto* combo = qobject_cast<QComboBox*>(it.value()))
            values.insert(it.key(), combo->currentText());
        else if (auto* line = qobject_cast<QLineEdit*>(it.value()))
            values.insert(it.key(), line->text());
        else if (auto* spin = qobject_cast<QSpinBox*>(it.value()))
            values.insert(it.key(), spin->value());
        else if (auto* number = qobject_cast<QDoubleSpinBox*>(it.value()))
            values.insert(it.key(), number->value());
    }
    return values;
}

void CatalogueDialog::setValues(const QVariantMap& values)
{
    for (auto it = values.begin(); it != values.end(); ++it) {
        QWidget* field = fields_.value(it.key());
        if (auto* box = qobject_cast<QCheckBox*>(field))
            box->setChecked(it.value().toBool());
        else if (auto* combo = qobject_cast<QComboBox*>(field))
            combo->setCurrentText(it.value().toString());
        else if (auto* line = qobject_cast<QLineEdit*>(field))
            line->setText(it.value().toString());
        else if (auto* spin = qobject_cast<QSpinBox*>(field))
            spin->setValue(it.value().toInt());
        else if (auto* number = qobject_cast<QDoubleSpinBox*>(field))
            number->setValue(it.value().toDouble());
    }
}

Tavorin::IBaseData* CatalogueDialog::chosenItem() const
{
    return qobject_cast<Tavorin::IBaseData*>(items_->currentData().value<QObject*>());
}

QString CatalogueDialog::run()
{
    Tavorin::IBaseData* data = chosenItem();
    if (!data)
        return tr("The grid has no float item to filter.");
    QString error;
    const QVariantMap checked = F::completeParameters(filter_, values(), error);
    if (!error.isEmpty())
        return error;
    // The operation reports its steps and failures through the host log.
    filter_.run(grid_, data, checked, QString());
    return QString();
}

void CatalogueDialog::accept()
{
    const QString problem = run();
    problem_->setText(problem);
    if (problem.isEmpty())
        QDialog::accept();
}

} // namespace spectrafil
