#pragma once

#include <QString>

// Keeps the session from idling into sleep while a scan runs, through the desktop's
// org.freedesktop.ScreenSaver service on the session bus. Without that service nothing is held and
// the caller goes on regardless.
namespace IdleSleepAssertion {

// The service's answer codes as the controller stores them: 0 means the assertion exists.
inline constexpr int kCreated = 0;
inline constexpr int kNotCreated = -1;

// Asks for the assertion; on success writes its identifier to `assertionID` and answers kCreated.
int create(const QString& name, quint32& assertionID);
void release(quint32 assertionID);

} // namespace IdleSleepAssertion
