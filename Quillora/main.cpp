// quillora: the internet-radio player.
#include "CommandLine.h"
#include "Headless/HeadlessPlayer.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLORA_VERSION));

    const CommandLine options = CommandLine::parse(QCoreApplication::arguments());
    if (options.headless)
        return Headless::run(options.catalogueUrl);

    std::fputs("quillora: the window is not built yet; run quillora --headless\n", stderr);
    return 2;
}
