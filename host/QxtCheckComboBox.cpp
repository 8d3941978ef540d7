#include "QxtCheckComboBox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace Tavorin {

QxtCheckComboBox::QxtCheckComboBox(QWidget* parent)
    : QComboBox(parent)
{
    // The plain delegate draws tick boxes; the combo's own menu delegate would mark the current row.
    view()->setItemDelegate(new QStyledItemDelegate(view()));
    // Installed after the popup's own filter, so it sees clicks first and can keep the popup open.
    view()->viewport()->installEventFilter(this);
    view()->installEventFilter(this);
    followModel();
}

void QxtCheckComboBox::setModel(QAbstractItemModel* model)
{
    QComboBox::setModel(model);
    followModel();
    checkStatesMayHaveChanged();
}

QStringList QxtCheckComboBox::checkedItems() const
{
    QStringList items;
    for (int row = 0; row < count(); ++row) {
        if (itemCheckState(row) == Qt::Checked)
            items.append(itemText(row));
    }
    return items;
}

void QxtCheckComboBox::setCheckedItems(const QStringList& items)
{
    inBulkChange_ = true;
    for (int row = 0; row < count(); ++row) {
        if (items.contains(itemText(row)))
            setItemCheckState(row, Qt::Checked);
    }
    inBulkChange_ = false;
    checkStatesMayHaveChanged();
}

void QxtCheckComboBox::uncheckAll()
{
    inBulkChange_ = true;
    for (int row = 0; row < count(); ++row)
        setItemCheckState(row, Qt::Unchecked);
    inBulkChange_ = false;
    checkStatesMayHaveChanged();
}

Qt::CheckState QxtCheckComboBox::itemCheckState(int row) const
{
    return static_cast<Qt::CheckState>(itemData(row, Qt::CheckStateRole).toInt());
}

void QxtCheckComboBox::setItemCheckState(int row, Qt::CheckState state)
{
    if (row >= 0 && row < count())
        setItemData(row, state, Qt::CheckStateRole);
}

void QxtCheckComboBox::setDefaultText(const QString& text)
{
    defaultText_ = text;
    update();
}

bool QxtCheckComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view()->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QModelIndex index = view()->indexAt(static_cast<QMouseEvent*>(event)->pos());
        if (index.isValid()) {
            toggle(index.row());
            return true;
        }
    }
    if (watched == view() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space && view()->currentIndex().isValid()) {
            toggle(view()->currentIndex().row());
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void QxtCheckComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QStringList checked = checkedItems();
    option.currentText = checked.isEmpty() ? defaultText_ : checked.join(QStringLiteral(", "));
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void QxtCheckComboBox::followModel()
{
    for (QMetaObject::Connection& connection : modelConnections_)
        disconnect(connection);
    QAbstractItemModel* current = model();
    const auto recheck = [this] { checkStatesMayHaveChanged(); };
    modelConnections_[0] = connect(current, &QAbstractItemModel::dataChanged, this, recheck);
    modelConnections_[1] = connect(current, &QAbstractItemModel::rowsRemoved, this, recheck);
    modelConnections_[2] = connect(current, &QAbstractItemModel::modelReset, this, recheck);
    modelConnections_[3] = connect(current, &QAbstractItemModel::layoutChanged, this, recheck);
    modelConnections_[4] = connect(current, &QAbstractItemModel::rowsInserted, this,
                                   [this](const QModelIndex&, int first, int last) { offerTicks(first, last); });
    offerTicks(0, count() - 1);
}

// Rows added with addItem carry no check state; give them one so their tick boxes show.
void QxtCheckComboBox::offerTicks(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        if (!itemData(row, Qt::CheckStateRole).isValid())
            setItemData(row, Qt::Unchecked, Qt::CheckStateRole);
    }
}

void QxtCheckComboBox::checkStatesMayHaveChanged()
{
    if (inBulkChange_)
        return; // announced once at the end
    const QStringList checked = checkedItems();
    update();
    if (checked == lastChecked_)
        return;
    lastChecked_ = checked;
    emit checkedItemsChanged(checked);
}

void QxtCheckComboBox::toggle(int row)
{
    setItemCheckState(row, itemCheckState(row) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace Tavorin
