#pragma once
// A combo box whose rows carry tick boxes: clicking a row in the popup ticks or unticks it and
// keeps the popup open; the closed box shows the ticked texts, joined by ", ". Ticks are the
// model's Qt::CheckStateRole, so any model with checkable rows serves.

#include <QComboBox>
#include <QStringList>

namespace Tavorin {

class QxtCheckComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit QxtCheckComboBox(QWidget* parent = nullptr);

    // Replaces QComboBox::setModel so that tick changes of the new model are followed.
    void setModel(QAbstractItemModel* model);

    // Texts of the ticked rows, in row order.
    QStringList checkedItems() const;
    // Ticks every row whose text is in items; other rows keep their state.
    void setCheckedItems(const QStringList& items);
    void uncheckAll();

    Qt::CheckState itemCheckState(int row) const;
    void setItemCheckState(int row, Qt::CheckState state);

    // Shown when nothing is ticked.
    QString defaultText() const { return defaultText_; }
    void setDefaultText(const QString& text);

signals:
    void checkedItemsChanged(const QStringList& items);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void followModel();
    void checkStatesMayHaveChanged();
    void toggle(int row);
    void offerTicks(int first, int last);

    QString defaultText_;
    bool inBulkChange_ = false;
    QStringList lastChecked_;
    QMetaObject::Connection modelConnections_[5];
};

} // namespace Tavorin
