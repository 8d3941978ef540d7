#include "map_view.h"

#include "map_canvas.h"
#include "map_render.h"

#include <I2DGridMesh.h>
#include <IBaseData.h>
#include <IGLWindow.h>
#include <IUniverse.h>
#include <IWorld.h>
#include <Mode.h>
#include <ModeStack.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace spectrafil {
namespace {

constexpr int kTitleHeight = 28;
constexpr int kBarStrip = 120;
constexpr int kMargin = 8;
constexpr double kZoomPerNotch = 1.25;

// From image pixels (row 0 at the top) to the grid's own axes u and v, then to world x and y.
QTransform imageToWorld(const Tavorin::I2DGridGeometry& g)
{
    const QTransform imageToGrid(g.uSize(), 0, 0, -g.vSize(), 0, g.nCellV() * g.vSize());
    const double turn = g.rotation() * M_PI / 180.0;
    const QTransform gridToWorld(std::cos(turn), std::sin(turn), -std::sin(turn), std::cos(turn), g.origin().x,
                                 g.origin().y);
    return imageToGrid * gridToWorld;
}

} // namespace

MapView::MapView(QWidget* parent)
    : QWidget(parent)
    , glWindow_(new Tavorin::IGLWindow(0, this))
{
    setMouseTracking(true);
    setMinimumSize(360, 280);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    Tavorin::ModeStack* modes = Tavorin::world()->GetModeStack();
    connect(modes, &Tavorin::ModeStack::stackPushed, this, &MapView::followModes);
    connect(modes, &Tavorin::ModeStack::stackPopped, this, &MapView::followModes);
}

Tavorin::IBaseData* MapView::shownData() const
{
    return data_.data();
}

Tavorin::I2DGridMesh* MapView::shownGrid() const
{
    return grid_.data();
}

QPointF MapView::toWidget(const QPointF& world) const
{
    return worldToWidget().map(world);
}

QPointF MapView::toWorld(const QPointF& widget) const
{
    return worldToWidget().inverted().map(widget);
}

QString MapView::describe(const QPointF& widget) const
{
    if (!grid_ || !data_)
        return QString();
    const QPointF point = toWorld(widget);
    QString text = tr("x %1  y %2").arg(point.x(), 0, 'f', 1).arg(point.y(), 0, 'f', 1);
    const Tavorin::I2DGridGeometry& geometry = grid_->get2DGridGeometry();
    const unsigned int id = geometry.cellID(Tavorin::I3DVector(point.x(), point.y(), geometry.origin().z));
    int u = 0;
    int v = 0;
    if (!geometry.cellUV(id, u, v))
        return text;
    text += tr("  cell %1, %2  %3: ").arg(u).arg(v).arg(QString(data_->Name()));
    if (!data_->hasValue(id))
        return text + tr("no value");
    return text + QStringLiteral("%1 %2").arg(QString::number(data_->value(id), 'g', 7), units_).trimmed();
}

void MapView::showData(Tavorin::IBaseData* data, const QString& units)
{
    auto* grid = data ? qobject_cast<Tavorin::I2DGridMesh*>(data->mesh()) : nullptr;
    const bool sameGrid = grid && grid == grid_;
    if (data_)
        disconnect(data_, nullptr, this, nullptr);
    data_ = grid ? data : nullptr;
    grid_ = grid;
    units_ = units;
    if (data_) {
        connect(data_, &Tavorin::IBaseData::dataChanged, this, &MapView::refreshImage);
        connect(data_, &QObject::destroyed, this, &MapView::refreshImage);
    }
    refreshImage();
    if (!sameGrid)
        fitToGrid();
}

void MapView::fitToGrid()
{
    if (!grid_)
        return;
    const Tavorin::IBoundingBox box = grid_->boundingBox();
    const double width = std::max(box.max().x - box.min().x, 1e-9);
    const double height = std::max(box.max().y - box.min().y, 1e-9);
    const QRect area = mapArea();
    scale_ = 0.95 * std::min(area.width() / width, area.height() / height);
    centre_ = QPointF((box.min().x + box.max().x) / 2, (box.min().y + box.max().y) / 2);
    fitted_ = true;
    update();
}

void MapView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (cells_.isNull()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("Open a grid with File > Open, or choose a data item in the tree."));
        return;
    }
    drawMap(painter);
}

void MapView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // A fitted map follows the window; a zoomed or panned one keeps its scale and centre.
    if (fitted_)
        fitToGrid();
}

// Zooms about the point under the cursor, which stays where it is.
void MapView::wheelEvent(QWheelEvent* event)
{
    if (!grid_)
        return;
    const QPointF anchor = event->position();
    const QPointF fixed = toWorld(anchor);
    scale_ *= std::pow(kZoomPerNotch, event->angleDelta().y() / 120.0);
    const QPointF middle = QRectF(mapArea()).center();
    centre_ = QPointF(fixed.x() - (anchor.x() - middle.x()) / scale_, fixed.y() + (anchor.y() - middle.y()) / scale_);
    fitted_ = false;
    update();
    event->accept();
}

void MapView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        pressPosition_ = lastPosition_ = event->pos();
        dragging_ = false;
    }
}

void MapView::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton) {
        if ((event->pos() - pressPosition_).manhattanLength() >= QApplication::startDragDistance())
            dragging_ = true;
        if (dragging_) {
            const QPoint step = event->pos() - lastPosition_;
            centre_ -= QPointF(step.x() / scale_, -step.y() / scale_);
            fitted_ = false;
            lastPosition_ = event->pos();
            update();
        }
    }
    emit cursorReport(describe(event->pos()));
}

// A click that was not a drag picks the grid under the cursor, or empty space.
void MapView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!dragging_) {
        Tavorin::I2DGridMesh* hit = nullptr;
        if (grid_) {
            const QPointF point = toWorld(event->pos());
            const Tavorin::I2DGridGeometry& geometry = grid_->get2DGridGeometry();
            if (geometry.cellID(Tavorin::I3DVector(point.x(), point.y(), geometry.origin().z)) !=
                Tavorin::I2DGridGeometry::InvalidCellID)
                hit = grid_;
        }
        glWindow_->reportPick(hit);
    }
    dragging_ = false;
}

void MapView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    emit cursorReport(QString());
}

QRect MapView::mapArea() const
{
    return rect().adjusted(kMargin, kTitleHeight, -kBarStrip, -kMargin);
}

QTransform MapView::worldToWidget() const
{
    const QPointF middle = QRectF(mapArea()).center();
    return QTransform(scale_, 0, 0, -scale_, middle.x() - centre_.x() * scale_, middle.y() + centre_.y() * scale_);
}

void MapView::refreshImage()
{
    if (data_ && grid_) {
        range_ = displayRange(*data_);
        cells_ = cellImage(grid_->get2DGridGeometry(), *data_, range_);
    } else {
        range_ = ValueRange();
        cells_ = QImage();
    }
    update();
}

// A mode waiting for a click (such as "Pick object") shows a cross-hair and says what to do.
void MapView::followModes()
{
    const bool picking = !Tavorin::world()->GetModeStack()->isEmpty();
    setCursor(picking ? Qt::CrossCursor : Qt::ArrowCursor);
    emit cursorReport(picking ? tr("Click a grid on the map to pick it.") : QString());
}

void MapView::drawMap(QPainter& painter)
{
    const QRect area = mapArea();
    QFont titleFont = font();
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.drawText(QRect(kMargin, 0, width() - 2 * kMargin, kTitleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     tr("%1 on %2").arg(QString(data_->Name()), QString(grid_->Name())));
    painter.setFont(font());

    const QTransform placement = imageToWorld(grid_->get2DGridGeometry()) * worldToWidget();
    painter.save();
    painter.setClipRect(area);
    painter.setTransform(placement);
    painter.drawImage(QPointF(0, 0), cells_);
    painter.resetTransform();
    painter.setPen(QColor(120, 120, 120));
    painter.drawPolygon(placement.map(QPolygonF(QRectF(cells_.rect()))));
    painter.restore();

    const QRect barArea(area.right() + 20, area.top() + 24, kBarStrip - 24, area.height() - 48);
    if (range_.empty)
        painter.drawText(barArea, Qt::AlignCenter | Qt::TextWordWrap, tr("no values"));
    else
        drawColourBar(painter, barArea, range_, units_);
}

} // namespace spectrafil
