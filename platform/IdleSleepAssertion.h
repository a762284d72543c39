/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QObject>
#include <QString>
#include <optional>

class QDBusPendingCallWatcher;

// Keeps the session from idling into sleep while a scan runs, through the desktop's
// org.freedesktop.ScreenSaver service on the session bus. Without that service nothing is held and
// the caller goes on regardless.
namespace IdleSleepAssertion {

// The service's answer codes as the controller stores them: 0 means the assertion exists.
inline constexpr int kCreated = 0;
inline constexpr int kNotCreated = -1;

// The blocking form, for the terminal, where no window waits: asks for the assertion (2 s at
// most); on success writes its identifier to `assertionID` and answers kCreated.
int create(const QString& name, quint32& assertionID);
void release(quint32 assertionID);

// The window's form: every request is asynchronous, so a slow or hung service never holds up the
// window. What the owner wants is kept apart from what the service has granted: an answer that
// arrives after the owner let go is given back at once, so no assertion outlives its run.
class Holder final : public QObject {
    Q_OBJECT
public:
    explicit Holder(QString name, QObject* parent = nullptr);
    // Gives back a held assertion, waiting for the service a moment at most.
    ~Holder() override;

    void create();
    void release();
    // As release, but a held assertion is given back before this returns (the process is about to
    // end and a request still queued could be lost); a request still unanswered is given back when
    // its answer comes, or by the service when this process leaves the bus.
    void releaseNow();

    // The service granted the assertion and it has not been given back.
    bool isHeld() const { return cookie.has_value(); }
    bool isPending() const { return pending != nullptr; }

signals:
    void heldChanged(bool held);

private:
    void answered(QDBusPendingCallWatcher* call);
    void setCookie(std::optional<quint32> value);

    QString name;
    bool wanted = false;
    std::optional<quint32> cookie;
    QDBusPendingCallWatcher* pending = nullptr; // a child while unanswered
};

} // namespace IdleSleepAssertion
