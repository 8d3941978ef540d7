#include "IProgressBarWidget.h"

#include "IMain.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace Tavorin {

namespace {

IProgressSink& textSink()
{
    static IProgressSink sink;
    return sink;
}

} // namespace

// The window of a desktop host: a caption over a bar, kept painted while the GUI thread is busy.
class IProgressBarWidget::Panel {
public:
    Panel()
        : window_(new QWidget(IMain::Instance(), Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint))
        , label_(new QLabel(window_))
        , bar_(new QProgressBar(window_))
    {
        auto* layout = new QVBoxLayout(window_);
        layout->addWidget(label_);
        layout->addWidget(bar_);
        window_->setMinimumWidth(320);
    }
    ~Panel() { delete window_.data(); }

    void show(const IProgressState& state)
    {
        if (!window_)
            return;
        window_->setWindowTitle(state.caption);
        label_->setText(state.caption);
        bar_->setRange(state.minimum, state.maximum);
        bar_->setValue(state.position);
        window_->setVisible(state.visible);
        if (state.visible)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    QWidget* window() const { return window_.data(); }

private:
    QPointer<QWidget> window_;
    QLabel* label_;
    QProgressBar* bar_;
};

IProgressBarWidget::IProgressBarWidget()
{
    // Widgets need a QApplication; a command-line tool runs on a QCoreApplication and gets none.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        panel_ = std::make_unique<Panel>();
}

IProgressBarWidget::~IProgressBarWidget()
{
    SetProgressVisible(false);
}

void IProgressBarWidget::SetProgressCaption(const QString& caption)
{
    state_.caption = caption;
    changed();
}

void IProgressBarWidget::SetProgressRange(int min, int max)
{
    state_.minimum = min;
    state_.maximum = std::max(min, max);
    state_.position = min;
    changed();
}

void IProgressBarWidget::SetProgressVisible(bool visible)
{
    if (visible == state_.visible)
        return;
    state_.visible = visible;
    if (const IProgressSink& sink = textSink())
        sink(state_);
    if (panel_)
        panel_->show(state_);
}

void IProgressBarWidget::incrementProgressPos()
{
    setProgressPos(state_.position + 1);
}

void IProgressBarWidget::setProgressPos(int position)
{
    state_.position = std::clamp(position, state_.minimum, state_.maximum);
    changed();
}

QWidget* IProgressBarWidget::widget() const
{
    return panel_ ? panel_->window() : nullptr;
}

void IProgressBarWidget::setTextSink(IProgressSink sink)
{
    textSink() = std::move(sink);
}

QString IProgressBarWidget::describe(const IProgressState& state)
{
    return QStringLiteral("%1 [%2/%3]")
        .arg(state.caption)
        .arg(state.position - state.minimum)
        .arg(state.maximum - state.minimum);
}

void IProgressBarWidget::changed()
{
    if (!state_.visible)
        return;
    if (const IProgressSink& sink = textSink())
        sink(state_);
    if (panel_)
        panel_->show(state_);
}

} // namespace Tavorin
