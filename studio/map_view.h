#pragma once
// A 2D map of the data item painted last in view 0: cells coloured by viridis over the item's
// display range, a colour bar, zoom with the wheel, pan by dragging. A click is a pick: it reports
// the grid under the cursor (or nothing) to the view's IGLWindow, which hands it to the active mode,
// so "Pick object" works on the map. Moving the mouse reports the cell value under the cursor.

#include "colour_map.h"

#include <QImage>
#include <QPointF>
#include <QPointer>
#include <QTransform>
#include <QWidget>

namespace Tavorin {
class I2DGridMesh;
class IBaseData;
class IGLWindow;
} // namespace Tavorin

namespace spectrafil {

class MapView : public QWidget {
    Q_OBJECT
public:
    explicit MapView(QWidget* parent = nullptr);

    // The view's host side: id 0, and the context where picks are recorded.
    Tavorin::IGLWindow* glWindow() const { return glWindow_; }
    Tavorin::IBaseData* shownData() const;
    Tavorin::I2DGridMesh* shownGrid() const;

    // Widget position of a world point, and back; as currently zoomed and panned.
    QPointF toWidget(const QPointF& world) const;
    QPointF toWorld(const QPointF& widget) const;

    // What the status bar shows for a widget position: coordinates, cell and value.
    QString describe(const QPointF& widget) const;

public slots:
    // Shows an item of a 2D grid (anything else, or null, clears the view); units label the colour bar.
    void showData(Tavorin::IBaseData* data, const QString& units);
    // The whole grid in view.
    void fitToGrid();

signals:
    void cursorReport(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QRect mapArea() const;
    QTransform worldToWidget() const;
    void refreshImage();
    void followModes();
    void drawMap(QPainter& painter);

    Tavorin::IGLWindow* glWindow_;
    QPointer<Tavorin::IBaseData> data_;
    QPointer<Tavorin::I2DGridMesh> grid_;
    QString units_;
    QImage cells_;
    ValueRange range_;
    double scale_ = 1.0;  // widget pixels per world unit
    QPointF centre_;      // world point at the middle of the map area
    bool fitted_ = true;  // the whole grid in view, until the user zooms or pans
    QPoint pressPosition_;
    QPoint lastPosition_;
    bool dragging_ = false;
};

} // namespace spectrafil
