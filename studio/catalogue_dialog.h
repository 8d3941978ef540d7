#pragma once
// A form for any filter of the catalogue that the module's dialog does not run: one field per
// parameter, with its label, range, default and help, for one float item of a grid.

#include <filter_catalogue.h>

#include <QDialog>
#include <QVariantMap>

class QComboBox;
class QLabel;

namespace Tavorin {
class IBaseData;
class I2DGridMesh;
} // namespace Tavorin

namespace spectrafil {

class CatalogueDialog : public QDialog {
    Q_OBJECT
public:
    CatalogueDialog(const I2DFourierFilters::FilterSpec& filter, Tavorin::I2DGridMesh* grid, QWidget* parent);

    // The fields' values by parameter key; setValues sets the fields of the keys it holds.
    QVariantMap values() const;
    void setValues(const QVariantMap& values);
    // The message that refuses the values, or empty when the filter ran.
    QString run();

public slots:
    void accept() override;

private:
    void addField(const I2DFourierFilters::ParameterSpec& parameter);
    Tavorin::IBaseData* chosenItem() const;

    const I2DFourierFilters::FilterSpec& filter_;
    Tavorin::I2DGridMesh* grid_;
    QComboBox* items_;
    QLabel* problem_;
    QMap<QString, QWidget*> fields_;
};

} // namespace spectrafil
