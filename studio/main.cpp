// spectrafil-studio: a desktop host for the Spectrafil module. Open grid files, run the Fourier
// filters from the context menu of a grid in the object tree, see the results as maps.

#include "studio_window.h"

#include <ILogger.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

namespace {

// Long enough for the docks and the map to lay themselves out and paint before the picture.
constexpr int kSettleMilliseconds = 300;

// Without a user to click message boxes away, warnings and errors go to standard error too.
void echoLogProblems()
{
    QObject::connect(Tavorin::ILogger::instance(), &Tavorin::ILogger::entryAdded, [](const QString& text, int level) {
        if (level >= Tavorin::ILogger::Warning)
            std::fprintf(stderr, "spectrafil-studio: %s: %s\n", qPrintable(Tavorin::ILogger::levelName(level)),
                         qPrintable(text));
    });
}

} // namespace

// Sanitizer builds: the offscreen platform plugin never frees its screen, which is not ours to report.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libqoffscreen.so\n";
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("spectrafil-studio"));
    QApplication::setOrganizationName(QStringLiteral("Spectrafil"));
    QApplication::setApplicationVersion(QStringLiteral(SPECTRAFIL_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Desktop host for the Spectrafil Fourier filters: open grids, run the filters from the context menu of a "
        "grid in the object tree, see the maps."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Open the grids, paint the first, save a picture of the window as PNG to FILE and exit."),
        QStringLiteral("FILE"));
    const QCommandLineOption module(QStringLiteral("module"),
                                    QStringLiteral("Load the module library from PATH instead of the usual places."),
                                    QStringLiteral("PATH"));
    parser.addOption(screenshot);
    parser.addOption(module);
    parser.addPositionalArgument(QStringLiteral("grids"), QStringLiteral("Grid files to open."), QStringLiteral("[GRIDS...]"));
    parser.process(app);

    const bool batch = parser.isSet(screenshot);
    if (batch)
        echoLogProblems();
    spectrafil::StudioWindow window({parser.positionalArguments(), parser.value(module), batch});
    window.show();
    window.start();
    if (!batch)
        return app.exec();

    QTimer::singleShot(kSettleMilliseconds, &window, [&window, &parser, &screenshot] {
        QString error;
        if (window.saveScreenshot(parser.value(screenshot), error)) {
            QCoreApplication::exit(0);
            return;
        }
        std::fprintf(stderr, "spectrafil-studio: error: %s\n", qPrintable(error));
        QCoreApplication::exit(1);
    });
    return app.exec();
}
