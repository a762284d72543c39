#include "scan/VupMode.h"
#include "scan/ZombieDetector.h"
#include "scan/ZombieRecovery.h"

QList<QByteArray> VupMode::detectZombies(const QVariantList& originalsPathList, VupDelegate* delegate) {
    return ZombieDetector::detectZombies(originalsPathList, delegate);
}

void VupMode::recoverZombieFiles(const QList<QByteArray>& zombies, VupDelegate* delegate) {
    ZombieRecovery(photoApplication, delegate).recoverZombies(zombies);
}
