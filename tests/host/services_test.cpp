#include "ILogger.h"
#include "IProgressBarWidget.h"
#include "ISettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "scratch_dir.h"

using namespace Tavorin;

TEST(Logger, KeepsEveryEntryWithItsLevelAndAnnouncesIt)
{
    ILogger* logger = ILogger::instance();
    logger->clear();
    QSignalSpy spy(logger, &ILogger::entryAdded);
    ILogger::write2Log("Gathering data...", 0);
    ILogger::write2Log("Unable to read console output file x", 1);
    ILogger::write2Log(ILogger::tr("Entire data set was NDV"), 2);
    ILogger::write2Log("too high", 9);
    ILogger::write2Log("too low", -1);

    const QVector<ILogEntry> entries = logger->entries();
    ASSERT_EQ(entries.size(), 5);
    EXPECT_EQ(entries[2].text, QString("Entire data set was NDV"));
    const int levels[] = {0, 1, 2, 2, 0}; // out-of-range levels are clamped
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(entries[i].level, levels[i]) << i;

    ASSERT_EQ(spy.count(), 5);
    EXPECT_EQ(spy[1][0].toString(), QString("Unable to read console output file x"));
    EXPECT_EQ(spy[1][1].toInt(), 1);
}

TEST(Settings, TemporaryFolderExistsAndCanBeChosen)
{
    const QString defaultDir = ISettings::getTempDir();
    EXPECT_TRUE(QFileInfo(defaultDir).isWritable());

    ScratchDir scratch;
    const QString chosen = QString::fromStdString(scratch.file("project/tmp"));
    ISettings::setTempDir(chosen);
    EXPECT_TRUE(QFileInfo(ISettings::getTempDir()).isDir()); // made on demand
    ISettings::setTempDir("relative");
    EXPECT_EQ(ISettings::getTempDir(), QDir::current().absoluteFilePath("relative"));

    ISettings::setTempDir(QString());
    EXPECT_EQ(ISettings::getTempDir(), defaultDir);
}

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
        progress.incrementProgressPos();
        progress.incrementProgressPos();
        progress.incrementProgressPos();
        progress.incrementProgressPos(); // stays at the maximum
        EXPECT_EQ(progress.state().position, 3);
    }
    IProgressBarWidget::setTextSink({});

    ASSERT_EQ(reports.size(), 6);
    EXPECT_EQ(IProgressBarWidget::describe(reports[0]), QString("Filtering data, please wait... [0/3]"));
    EXPECT_EQ(IProgressBarWidget::describe(reports[4]), QString("Filtering data, please wait... [3/3]"));
    EXPECT_FALSE(reports[5].visible); // the destructor's farewell

    IProgressBarWidget quiet; // no sink: nothing happens, nothing breaks
    quiet.SetProgressVisible(true);
    quiet.incrementProgressPos();
}
