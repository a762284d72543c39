/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "app/ProgressIndicator.h"

#include <QProgressBar>
#include <algorithm>
#include <cmath>

ProgressIndicator::ProgressIndicator(QProgressBar* b) : bar(b) {
    apply();
}

void ProgressIndicator::setIndeterminate(bool value) {
    indeterminate = value;
    apply();
}

void ProgressIndicator::startAnimation() {
    animating = true;
    apply();
}

void ProgressIndicator::stopAnimation() {
    animating = false;
    apply();
}

void ProgressIndicator::setMaxValue(double value) {
    max = value;
    apply();
}

void ProgressIndicator::setDoubleValue(double value) {
    current = value;
    apply();
}

bool ProgressIndicator::showsBusy() const {
    return bar->minimum() == 0 && bar->maximum() == 0;
}

void ProgressIndicator::apply() {
    if (indeterminate && animating) {
        bar->setRange(0, 0);
        return;
    }
    bar->setRange(0, kSteps);
    int step = 0;
    if (!indeterminate && max > 0 && std::isfinite(current))
        step = static_cast<int>(std::lround(std::clamp(current / max, 0.0, 1.0) * kSteps));
    bar->setValue(step);
}
