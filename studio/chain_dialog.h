#pragma once
// A filter chain for one item of a grid, as `spectrafil chain` takes it: the steps as words
// ("rtp:inclination=-53,declination=7 vd"), loaded from and saved to recipe files.

#include <QDialog>

class QLabel;
class QLineEdit;

namespace Tavorin {
class IBaseData;
class I2DGridMesh;
} // namespace Tavorin

namespace spectrafil {

class ChainDialog : public QDialog {
    Q_OBJECT
public:
    ChainDialog(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, QWidget* parent);

    QString stepsText() const;
    void setStepsText(const QString& text);
    // Each returns the message that refuses the steps or the file, or empty when done.
    QString run();
    QString loadRecipe(const QString& path);
    QString saveRecipe(const QString& path);

public slots:
    void accept() override;

private:
    void chooseAndLoad();
    void chooseAndSave();
    void report(const QString& problem);

    Tavorin::I2DGridMesh* grid_;
    Tavorin::IBaseData* data_;
    QLineEdit* steps_;
    QLabel* problem_;
};

} // namespace spectrafil
