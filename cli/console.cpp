#include "console.h"

#include <ILogger.h>
#include <IProgressBarWidget.h>

#include <QFile>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace spectrafil {
namespace {

bool progressOnScreen = false;

void clearProgressLine()
{
    if (progressOnScreen)
        std::fputs("\r\033[K", stderr);
    progressOnScreen = false;
}

void printEntry(const QString& text, int level)
{
    clearProgressLine();
    const QByteArray bytes = text.toLocal8Bit();
    if (level >= Tavorin::ILogger::Error)
        std::fprintf(stderr, "spectrafil: error: %s\n", bytes.constData());
    else if (level == Tavorin::ILogger::Warning)
        std::fprintf(stderr, "spectrafil: warning: %s\n", bytes.constData());
    else
        std::fprintf(stderr, "%s\n", bytes.constData());
}

} // namespace

void reportHostLog(bool verbose)
{
    QObject::connect(Tavorin::ILogger::instance(), &Tavorin::ILogger::entryAdded, [verbose](const QString& text, int level) {
        if (verbose || level > Tavorin::ILogger::Information)
            printEntry(text, level);
    });
}

void reportProgress(bool enabled)
{
    if (!enabled || !isatty(STDERR_FILENO)) {
        Tavorin::IProgressBarWidget::setTextSink({});
        return;
    }
    Tavorin::IProgressBarWidget::setTextSink([](const Tavorin::IProgressState& state) {
        clearProgressLine();
        if (!state.visible)
            return;
        std::fprintf(stderr, "%s", Tavorin::IProgressBarWidget::describe(state).toLocal8Bit().constData());
        std::fflush(stderr);
        progressOnScreen = true;
    });
}

void printError(const QString& text) { printEntry(text, Tavorin::ILogger::Error); }

void printWarning(const QString& text) { printEntry(text, Tavorin::ILogger::Warning); }

void printNote(const QString& text) { printEntry(text, Tavorin::ILogger::Information); }

StdoutToFile::StdoutToFile(const QString& path)
{
    std::fflush(stdout);
    const int file = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (file < 0)
        return; // the diagnostics then stay on standard output
    saved_ = ::dup(STDOUT_FILENO);
    if (saved_ >= 0)
        ::dup2(file, STDOUT_FILENO);
    ::close(file);
}

StdoutToFile::~StdoutToFile()
{
    if (saved_ < 0)
        return;
    std::fflush(stdout);
    ::dup2(saved_, STDOUT_FILENO);
    ::close(saved_);
}

} // namespace spectrafil
