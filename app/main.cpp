#include "app/CVyx31App.h"
#include "app/CommandLineOptions.h"

#include <QApplication>

#include <cstdio>
#include <filesystem>

int main(int argc, char* argv[]) {
    // --help and --version are answered before any window system is needed.
    switch (CommandLineOptions::parse(argc, argv)) {
    case CommandLineOptions::Action::ShowHelp:
        std::fputs(CommandLineOptions::helpText(std::filesystem::path(argv[0]).filename().string()).c_str(), stdout);
        return 0;
    case CommandLineOptions::Action::ShowVersion:
        std::fputs(CommandLineOptions::versionText().c_str(), stdout);
        return 0;
    case CommandLineOptions::Action::Run:
        break;
    }

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);  // Qt WebEngine needs it first
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quarvel"));
    QApplication::setApplicationVersion(QStringLiteral("3.1.0.2"));

    CVyx31App app;
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 1;
    }
    const int status = QApplication::exec();
    app.ExitInstance();
    return status;
}
