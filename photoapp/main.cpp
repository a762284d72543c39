#include "photoapp/CommandLine.h"
#include "photoapp/ImageMetadata.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("photoapp"));
    ImageMetadataIo::initialize();
    return CommandLine::run(QCoreApplication::arguments());
}
