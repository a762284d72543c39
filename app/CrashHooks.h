#pragma once

class QWidget;

// The window's two contacts with crash reporting, kept in one place so the crash reporter can be
// plugged in without touching the launch sequence.

// Installs the writer of crash logs for fatal signals; done first, before the application exists.
void installCrashLogWriter();

// Looks for crash logs written since the last check and offers to send them. Runs first at launch.
void checkForNewCrashes(QWidget* window);
