#pragma once
// Progress of a long synchronous task. In a desktop host (a QApplication exists) it shows a small
// progress window over the main window (IMain::Instance()); without one (command-line use on a QCoreApplication, no display) it makes no
// widget at all. In both cases every change of a visible progress goes to the text sink, if one is
// set, and a final report with visible = false when it is hidden or destroyed.

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace Tavorin {

struct IProgressState {
    QString caption;
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    bool visible = false;
};

using IProgressSink = std::function<void(const IProgressState&)>;

class IProgressBarWidget {
public:
    IProgressBarWidget();
    ~IProgressBarWidget();

    IProgressBarWidget(const IProgressBarWidget&) = delete;
    IProgressBarWidget& operator=(const IProgressBarWidget&) = delete;

    void SetProgressCaption(const QString& caption);
    // Also moves the position back to min; max below min is taken as min.
    void SetProgressRange(int min, int max);
    void SetProgressVisible(bool visible);
    // One step on, not beyond the maximum.
    void incrementProgressPos();
    void setProgressPos(int position);

    const IProgressState& state() const { return state_; }
    // The progress window, or null when running without a QApplication.
    QWidget* widget() const;

    // Where progress goes as text; an empty sink (the default) discards it.
    static void setTextSink(IProgressSink sink);
    // One line for a text sink: "caption [done/total]".
    static QString describe(const IProgressState& state);

private:
    void changed();

    class Panel;
    IProgressState state_;
    std::unique_ptr<Panel> panel_;
};

} // namespace Tavorin
