// The filter dialog running the operations: what Apply, OK and Cancel run, with which values.

#include "FilterDialog.h"
#include "ISettings.h"
#include "QxtCheckComboBox.h"
#include "scratch_dir.h"
#include "test_world.h"

#include <QFile>
#include <QPointer>
#include <gtest/gtest.h>

using namespace Tavorin;

namespace {

QStringList itemNames(IMesh* mesh)
{
    QStringList names;
    for (IBaseData* item : mesh->DataList()->items())
        names << item->Name();
    return names;
}

// Runs the filters in a scratch folder, where the control file they leave can be read back.
class FilterRun : public testing::Test {
protected:
    void SetUp() override { ISettings::setTempDir(QString::fromStdString(scratch.path().string())); }
    void TearDown() override { ISettings::setTempDir(QString()); }

    // The lines after "Perform filtering" and "2 0 0 1", with the numbers' blanks normalised.
    QStringList filterLines() const
    {
        QFile file(QString::fromStdString(scratch.file("FILTER.INP")));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        const QStringList lines = QString::fromLatin1(file.readAll()).split('\n');
        const int start = lines.indexOf(QStringLiteral("Perform filtering"));
        QStringList tail = start < 0 ? QStringList() : lines.mid(start + 2);
        for (QString& line : tail)
            line = line.simplified();
        return tail;
    }

    ScratchDir scratch;
    testworld::TestWorld w;
};

} // namespace

TEST_F(FilterRun, ApplyRunsOncePerTickedPropertyInRowOrder)
{
    IFilterDialog dialog(IFilterDialog::LowPass, nullptr);
    dialog.show();
    dialog._apply_button->click(); // nothing ticked: nothing runs
    EXPECT_EQ(w.gridB->DataList()->count(), 5);

    dialog.setProperties({"TMI", "Bouguer"});
    dialog._wavelength_spinbox->setValue(300.0);
    dialog._apply_button->click();
    EXPECT_TRUE(dialog.isVisible());
    const QStringList names = itemNames(w.gridB);
    ASSERT_EQ(names.size(), 7);
    EXPECT_EQ(names.mid(5), QStringList({"Bouguer low pass filtered", "TMI low pass filtered"}));
}

TEST_F(FilterRun, WidgetValuesReachTheOperationInItsOrder)
{
    IFilterDialog strike(IFilterDialog::Strike, nullptr);
    strike.setProperties({"TMI"});
    strike._strike_spinbox->setValue(30.0);
    strike._strike_tol_spinbox->setValue(10.0);
    strike._wavelength_spinbox->setValue(200.0);
    strike.filter();
    EXPECT_EQ(filterLines().value(0), "1 6 300.000000 200.000000 30.000000 20.000000");

    IFilterDialog derivative(IFilterDialog::HorizontalDerivative, nullptr);
    derivative.setProperties({"TMI"});
    derivative._ew_rb->click();
    derivative._attenuate_checkbox->setChecked(false);
    derivative.filter();
    // East-west: the direction line is 1; without attenuation the window is 4 and 2 cell sizes.
    EXPECT_EQ(filterLines().mid(0, 3), QStringList({"2 1 100.000000 50.000000", "1", "0"}));
    EXPECT_EQ(itemNames(w.gridB).mid(5), QStringList({"TMI strike filtered", "TMI hd filtered"}));
}

TEST_F(FilterRun, OkRunsAndClosesCancelRunsNothing)
{
    for (bool ok : {false, true}) {
        QPointer<IFilterDialog> dialog = new IFilterDialog(IFilterDialog::VerticalDerivative, nullptr);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
        dialog->setProperties({"TMI"});
        (ok ? dialog->_ok_button : dialog->_cancel_button)->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(dialog.isNull()) << ok;
        EXPECT_EQ(itemNames(w.gridB).mid(5), ok ? QStringList({"TMI vd filtered"}) : QStringList()) << ok;
    }
}
