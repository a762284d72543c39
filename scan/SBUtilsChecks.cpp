/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/KeywordVerification.h"
#include "scan/SBUtils.h"
#include "scan/VersionCheck.h"

bool SBUtils::versionCheck() {
    return VersionCheck::versionCheck(*photoApplication, delegate);
}

bool SBUtils::verifyKeywords(const QStringList& keywords, const QString& product) {
    return KeywordVerification(photoApplication, delegate).verifyKeywords(keywords, product);
}
