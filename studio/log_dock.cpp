#include "log_dock.h"

#include <ILogger.h>

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTime>

namespace spectrafil {
namespace {

// The engine's logs come in as entries of hundreds of lines; keep the dock's memory bounded.
constexpr int kMaxLines = 50000;

QTextCharFormat formatOf(int level)
{
    QTextCharFormat format;
    if (level == Tavorin::ILogger::Warning) {
        format.setForeground(QColor(160, 90, 0));
        format.setFontWeight(QFont::Bold);
    } else if (level >= Tavorin::ILogger::Error) {
        format.setForeground(QColor(190, 0, 0));
        format.setBackground(QColor(255, 232, 232));
        format.setFontWeight(QFont::Bold);
    }
    return format;
}

} // namespace

LogDock::LogDock(QWidget* parent)
    : QDockWidget(tr("Log"), parent)
    , view_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("logDock"));
    view_->setReadOnly(true);
    view_->setMaximumBlockCount(kMaxLines);
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setWidget(view_);
    connect(Tavorin::ILogger::instance(), &Tavorin::ILogger::entryAdded, this, &LogDock::addEntry);
}

QString LogDock::text() const
{
    return view_->toPlainText();
}

void LogDock::addEntry(const QString& text, int level)
{
    QTextCursor cursor(view_->document());
    cursor.movePosition(QTextCursor::End);
    if (!view_->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    const QString heading = QStringLiteral("%1 %2  ").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")),
                                                          Tavorin::ILogger::levelName(level).leftJustified(7));
    cursor.insertText(heading + text, formatOf(level));
    view_->verticalScrollBar()->setValue(view_->verticalScrollBar()->maximum());
    if (level >= Tavorin::ILogger::Error) {
        show();
        raise();
    }
}

} // namespace spectrafil
