#pragma once

#include <QString>

// Generates a demo library: real small JPEGs in a real package, with the troubles a scan looks
// for. Files are copies of a handful of JPEGs encoded once, and the catalogue is written in one
// transaction, so even 100,000 photos take seconds.
namespace DemoLibrary {

struct Options {
    int photos = 40;
    int missingImages = 3;  // photos whose image (and master) file is gone
    int missingMasters = 2; // edited photos whose master is gone while the edited image remains
    int zombies = 2;        // image files in Masters/ that no photo names
};

struct Summary {
    int photos = 0;
    int missingImages = 0;
    int missingMasters = 0;
    int zombies = 0;
};

bool generate(const QString& libraryPath, const Options& options, Summary* summary, QString* error);

} // namespace DemoLibrary
