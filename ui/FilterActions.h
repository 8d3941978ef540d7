#pragma once
// One context action per filter. Each opens a filter dialog for its filter, with the grid that is
// selected in the host already chosen. The classes differ only in their text and filter type.

#include "FilterDialog.h"

#include <QAction>

namespace Tavorin {

class ILowPassFourierFilterAction : public QAction {
    Q_OBJECT
public:
    explicit ILowPassFourierFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IHighPassFourierFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IHighPassFourierFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IRTPFourierFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IRTPFourierFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IApparentSusceptibilityFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IApparentSusceptibilityFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IApparentDensityFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IApparentDensityFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IPseudoGravityFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IPseudoGravityFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IVerticalDerivativeFourierFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IVerticalDerivativeFourierFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IHorizontalDerivativeFourierFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IHorizontalDerivativeFourierFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IContinuationFourierFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IContinuationFourierFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IStrikeFourierFilterAction : public QAction {
    Q_OBJECT
public:
    explicit IStrikeFourierFilterAction(QObject* parent);

private:
    void showFilterDialog();
};

class IComputeAnalyticSignalAction : public QAction {
    Q_OBJECT
public:
    explicit IComputeAnalyticSignalAction(QObject* parent);

private:
    void showFilterDialog();
};

// The action of the dialog's filter type, one of the classes above.
QAction* createFilterAction(IFilterDialog::IGeoPhysFilterType type, QObject* parent);

} // namespace Tavorin
