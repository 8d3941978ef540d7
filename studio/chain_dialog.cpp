#include "chain_dialog.h"

#include "chain_request.h"

#include <IBaseData.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace spectrafil {
namespace {

namespace F = I2DFourierFilters;

const char kRecipeFilter[] = "Recipes (*.json);;All files (*)";

// The steps of the words, each checked and completed; empty with the reason when one is refused.
std::vector<F::ChainStep> stepsOf(const QString& text, QString& error)
{
    std::vector<F::ChainStep> given;
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int i = 0; i < words.size() && error.isEmpty(); ++i)
        given.push_back(parseStepWord(words[i], i + 1, error));
    if (error.isEmpty() && given.empty())
        error = QObject::tr("Give at least one step, e.g. \"continuation:height=200 vd\".");
    std::vector<F::ChainStep> steps;
    if (error.isEmpty())
        error = completeChain(given, steps);
    return error.isEmpty() ? steps : std::vector<F::ChainStep>();
}

// A step as the word that gives it back.
QString wordOf(const F::ChainStep& step)
{
    QStringList settings;
    for (auto it = step.values.begin(); it != step.values.end(); ++it)
        settings << QStringLiteral("%1=%2").arg(it.key(), it.value().toString());
    const QString id = QLatin1String(step.filter->id);
    return settings.isEmpty() ? id : QStringLiteral("%1:%2").arg(id, settings.join(QLatin1Char(',')));
}

} // namespace

ChainDialog::ChainDialog(Tavorin::I2DGridMesh* grid, Tavorin::IBaseData* data, QWidget* parent)
    : QDialog(parent)
    , grid_(grid)
    , data_(data)
    , steps_(new QLineEdit(this))
    , problem_(new QLabel(this))
{
    setWindowTitle(tr("Filter chain on %1").arg(data->Name()));
    auto* form = new QFormLayout(this);
    steps_->setObjectName(QStringLiteral("steps"));
    steps_->setPlaceholderText(QStringLiteral("continuation:height=200 vd"));
    steps_->setToolTip(tr("Steps in order, as spectrafil chain takes them: NAME or NAME:key=value,key=value"));
    form->addRow(tr("Steps"), steps_);
    problem_->setObjectName(QStringLiteral("problem"));
    problem_->setStyleSheet(QStringLiteral("color: #b00020"));
    problem_->setWordWrap(true);
    form->addRow(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* load = buttons->addButton(tr("Load recipe…"), QDialogButtonBox::ActionRole);
    QPushButton* save = buttons->addButton(tr("Save recipe…"), QDialogButtonBox::ActionRole);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ChainDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &ChainDialog::reject);
    connect(load, &QPushButton::clicked, this, &ChainDialog::chooseAndLoad);
    connect(save, &QPushButton::clicked, this, &ChainDialog::chooseAndSave);
}

QString ChainDialog::stepsText() const { return steps_->text(); }

void ChainDialog::setStepsText(const QString& text) { steps_->setText(text); }

QString ChainDialog::run()
{
    QString error;
    const std::vector<F::ChainStep> steps = stepsOf(stepsText(), error);
    if (!error.isEmpty())
        return error;
    // The operation reports its steps and failures through the host log.
    F::chain(grid_, data_, steps, QString());
    return QString();
}

QString ChainDialog::loadRecipe(const QString& path)
{
    QString error;
    const std::vector<F::ChainStep> steps = F::readRecipe(path, error);
    if (!error.isEmpty())
        return error;
    QStringList words;
    for (const F::ChainStep& step : steps)
        words << wordOf(step);
    setStepsText(words.join(QLatin1Char(' ')));
    return QString();
}

QString ChainDialog::saveRecipe(const QString& path)
{
    QString error;
    const std::vector<F::ChainStep> steps = stepsOf(stepsText(), error);
    if (error.isEmpty())
        F::writeRecipe(path, steps, error);
    return error;
}

void ChainDialog::accept()
{
    const QString problem = run();
    report(problem);
    if (problem.isEmpty())
        QDialog::accept();
}

void ChainDialog::chooseAndLoad()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Load recipe"), QString(), tr(kRecipeFilter));
    if (!path.isEmpty())
        report(loadRecipe(path));
}

void ChainDialog::chooseAndSave()
{
    const QString path = QFileDialog::getSaveFileName(this, tr("Save recipe"), QString(), tr(kRecipeFilter));
    if (!path.isEmpty())
        report(saveRecipe(path));
}

void ChainDialog::report(const QString& problem) { problem_->setText(problem); }

} // namespace spectrafil
