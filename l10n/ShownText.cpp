/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "l10n/ShownText.h"

#include <QCoreApplication>

namespace {

bool isPlace(const QString& text, qsizetype i) {
    return text.at(i) == u'%' && i + 1 < text.size() && text.at(i + 1) >= u'1' && text.at(i + 1) <= u'9';
}

// The translation with each %N replaced at once, so that a value holding "%2" stays as it is.
QString filled(const QString& translation, const QStringList& values) {
    QString out;
    out.reserve(translation.size());
    for (qsizetype i = 0; i < translation.size(); ++i) {
        if (isPlace(translation, i)) {
            const int n = translation.at(i + 1).digitValue();
            if (n <= values.size()) {
                out += values.at(n - 1);
                ++i;
                continue;
            }
        }
        out += translation.at(i);
    }
    return out;
}

} // namespace

ShownText::ShownText(const char* c, std::initializer_list<const char*> sources) : context(c) {
    for (const char* source : sources) {
        const QString text = QString::fromUtf8(source);
        Format format{source, {}, {}, {}};
        QString pattern = QStringLiteral("^");
        qsizetype literal = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!isPlace(text, i))
                continue;
            if (format.places.isEmpty())
                format.head = text.first(i);
            pattern += QRegularExpression::escape(text.mid(literal, i - literal)) + QStringLiteral("(.*?)");
            format.places.append(text.at(i + 1).digitValue());
            literal = ++i + 1;
        }
        if (format.places.isEmpty())
            format.head = text;
        pattern += QRegularExpression::escape(text.mid(literal)) + QStringLiteral("$");
        format.pattern = QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption);
        formats.append(std::move(format));
    }
}

QString ShownText::operator()(const QString& english) const {
    for (const Format& format : formats) {
        if (format.places.isEmpty()) {
            if (english == format.head)
                return QCoreApplication::translate(context, format.source);
            continue;
        }
        if (!english.startsWith(format.head))
            continue;
        const QRegularExpressionMatch match = format.pattern.match(english);
        if (!match.hasMatch())
            continue;
        QStringList values(9);
        for (qsizetype k = 0; k < format.places.size(); ++k)
            values[format.places.at(k) - 1] = match.captured(int(k) + 1);
        return filled(QCoreApplication::translate(context, format.source), values);
    }
    return english;
}
