/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

class QProgressBar;

// The window's progress bar as the scan drives it: maximum and value kept as doubles, an
// indeterminate mode that only shows as busy while animating, and a determinate maximum of 0 that
// stays an empty bar (Qt would turn a 0..0 range into its busy bar).
//
// The bar itself moves in a fixed number of steps, so a run posting one value per photo repaints
// it at most that many times however large the library.
class ProgressIndicator {
public:
    static constexpr int kSteps = 1000;

    explicit ProgressIndicator(QProgressBar* bar);

    void setIndeterminate(bool value);
    bool isIndeterminate() const { return indeterminate; }
    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return animating; }
    void setMaxValue(double value);
    double maxValue() const { return max; }
    void setDoubleValue(double value);
    double doubleValue() const { return current; }

    // True while the bar shows Qt's busy animation.
    bool showsBusy() const;

private:
    void apply();

    QProgressBar* bar;
    bool indeterminate = false;
    bool animating = false;
    double max = 0;
    double current = 0;
};
