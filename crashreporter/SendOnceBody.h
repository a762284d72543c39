/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <QByteArray>
#include <QIODevice>

// A request body that can be read through once and never rewound. Qt's HTTP client silently sends
// a request again when the server closes the connection without answering, and to do so it
// rewinds the body; a body that refuses to rewind turns that second sending into an error, so
// that a report the server may already hold is not posted twice.
class SendOnceBody : public QIODevice {
public:
    explicit SendOnceBody(QByteArray body, QObject* parent = nullptr);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // Succeeds only while nothing has been read, when rewinding changes nothing.
    bool reset() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    QByteArray bytes;
    qint64 position = 0;
};
