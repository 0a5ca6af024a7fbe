#include "CtlClient.h"
#include "CtlOptions.h"
#include "support/MessageChannelWormhole.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QString error;
    const std::optional<CtlOptions> options = CtlOptions::parse(app.arguments(), &error);
    if (!options) {
        err << "vantrelctl: " << error << "\nTry 'vantrelctl --help'.\n";
        return 2;
    }
    if (options->command == CtlOptions::Command::Help) {
        out << CtlOptions::helpText();
        return 0;
    }
    MessageChannelWormhole channel;
    CtlClient client(*options, channel, out, err);
    QObject::connect(&client, &CtlClient::finished, &app,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    QTimer::singleShot(0, &client, &CtlClient::start);
    return app.exec();
}
