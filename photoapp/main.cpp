#include "photoapp/CommandLine.h"
#include "photoapp/ImageMetadata.h"

#include <QCoreApplication>
#include <csignal>

int main(int argc, char** argv) {
    // A write past a file size limit fails like a full disk instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("photoapp"));
    ImageMetadataIo::initialize();
    return CommandLine::run(QCoreApplication::arguments());
}
