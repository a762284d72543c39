#include "scan/VupMode.h"

// The zombie stage. Until detection and recovery are wired in here, a library has no zombies.

QStringList VupMode::detectZombies(const QVariantList& originalsPathList, VupDelegate* delegate) {
    Q_UNUSED(originalsPathList);
    Q_UNUSED(delegate);
    return {};
}

void VupMode::recoverZombieFiles(const QStringList& zombies, VupDelegate* delegate) {
    Q_UNUSED(zombies);
    Q_UNUSED(delegate);
}
