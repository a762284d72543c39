#include "bridge/SBUtils.h"

// The two pre-scan checks. They stay this simple until the version check and the keyword
// verification modules are wired in here: accept every version, report every keyword present.

bool SBUtils::versionCheck() {
    return false;
}

bool SBUtils::verifyKeywords(const QStringList& keywords, const QString& product) {
    Q_UNUSED(keywords);
    Q_UNUSED(product);
    return false;
}
