#pragma once
// The host log as a dock: every entry with its time and level, as it comes. Warnings and errors
// stand out, and an error brings the dock into view.

#include <QDockWidget>

class QPlainTextEdit;

namespace spectrafil {

class LogDock : public QDockWidget {
    Q_OBJECT
public:
    explicit LogDock(QWidget* parent = nullptr);

    QString text() const;

public slots:
    void addEntry(const QString& text, int level);

private:
    QPlainTextEdit* view_;
};

} // namespace spectrafil
