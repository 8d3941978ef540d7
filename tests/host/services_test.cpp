#include "IProgressBarWidget.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace Tavorin;

TEST(Progress, HeadlessProgressGoesToTheTextSinkOnly)
{
    ASSERT_NE(QCoreApplication::instance(), nullptr);
    QVector<IProgressState> reports;
    IProgressBarWidget::setTextSink([&reports](const IProgressState& state) { reports.append(state); });
    {
        IProgressBarWidget progress;
        EXPECT_EQ(progress.widget(), nullptr);
        progress.SetProgressCaption("Filtering data, please wait...");
        progress.SetProgressRange(0, 3);
        EXPECT_TRUE(reports.isEmpty()); // nothing to tell while hidden
        progress.SetProgressVisible(true);
        for (int step = 0; step < 4; ++step)
            progress.incrementProgressPos();
        EXPECT_EQ(progress.state().position, 3); // stays at the maximum
    }
    IProgressBarWidget::setTextSink({});
    ASSERT_EQ(reports.size(), 6);
    EXPECT_EQ(IProgressBarWidget::describe(reports[4]), QString("Filtering data, please wait... [3/3]"));
    EXPECT_FALSE(reports[5].visible); // the destructor's farewell
}
