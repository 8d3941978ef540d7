// spectrafil: Fourier-domain filters for potential-field grid files. The work is done by the
// library functions runFilterJob, runSpectrumJob and runDemo; main parses, sets up Qt and the
// console, and returns their exit status.

#include "command_line.h"
#include "console.h"
#include "interruption.h"
#include "spectrum_job.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {

// Drawing needs a QGuiApplication; without a platform of the user's choice we use the offscreen
// one, so previews work with no display.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, bool draws)
{
    if (!draws)
        return std::make_unique<QCoreApplication>(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(argc, argv);
}

// Qt's own diagnostics (e.g. about the runtime folder of the offscreen platform) are for -v only.
bool showQtMessages = false;

void qtMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (showQtMessages || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

// Sanitizer builds: the offscreen platform plugin never frees its screen, which is not ours to report.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libqoffscreen.so\n";
}

int main(int argc, char** argv)
{
    spectrafil::watchForInterruption();
    CLI::App app("Fourier-domain filters for potential-field grids (aeromagnetic nT, gravity mGal)", "spectrafil");
    spectrafil::CommandLine commandLine(app);
    const spectrafil::SpectrumCommand spectrum(app);
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] != '-') { // the command: the first word that is no option
            const QString unknown = commandLine.unknownCommand(argv[i]);
            if (!unknown.isEmpty()) {
                spectrafil::printError(unknown);
                return spectrafil::ExitUsage;
            }
            break;
        }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? spectrafil::ExitSuccess : spectrafil::ExitUsage;
    }
    spectrafil::ParsedCommand command;
    QString error;
    if (!commandLine.finish(command, error)) {
        spectrafil::printError(error);
        return spectrafil::ExitUsage;
    }
    showQtMessages = command.verbose;
    qInstallMessageHandler(qtMessages);
    const auto application = makeApplication(argc, argv, commandLine.draws() || spectrum.draws());
    spectrafil::reportHostLog(command.verbose);
    spectrafil::reportProgress(!command.job.quiet);
    const int status = spectrum.parsed()  ? spectrum.run()
                       : command.chain  ? spectrafil::runChainJob(command.steps, command.job)
                       : command.filter ? spectrafil::runFilterJob(*command.filter, command.request, command.job)
                                        : spectrafil::runDemo(command.demo);
    return spectrafil::exitStatusUnlessInterrupted(status);
}
