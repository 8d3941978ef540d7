#pragma once
// The host log. Every entry is kept with its level (0 information, 1 warning, 2 error) and announced
// with entryAdded, so that a window or a command-line tool can show it as it comes.

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

namespace Tavorin {

struct ILogEntry {
    QDateTime time;
    int level = 0;
    QString text;
};

class ILogger : public QObject {
    Q_OBJECT
public:
    enum Level { Information = 0, Warning = 1, Error = 2 };

    static ILogger* instance();

    // Adds one entry to the host log; levels outside 0..2 are clamped into it.
    static void write2Log(const QString& text, int level = Information);

    QVector<ILogEntry> entries() const { return entries_; }
    void clear() { entries_.clear(); }

    static QString levelName(int level);

signals:
    void entryAdded(const QString& text, int level);

private:
    ILogger() = default;
    void add(const QString& text, int level);

    QVector<ILogEntry> entries_;
};

} // namespace Tavorin
