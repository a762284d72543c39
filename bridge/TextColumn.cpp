/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "bridge/TextColumn.h"

#include "bridge/iPhotoTypes.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>
#include <limits>

namespace {

// A name may begin with U+FEFF like with any other character: it is text, not a byte order mark.
constexpr auto kVerbatim = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;

} // namespace

TextColumn::TextColumn(std::initializer_list<QVariant> values) {
    reserve(qsizetype(values.size()));
    for (const QVariant& v : values)
        append(v);
}

TextColumn::TextColumn(const QVariantList& values) {
    reserve(values.size());
    for (const QVariant& v : values)
        append(v);
}

void TextColumn::reserve(qsizetype entries) {
    kinds.reserve(entries);
    folderOf.reserve(entries);
    nameEnds.reserve(entries);
}

void TextColumn::append(QStringView text) {
    appendText(text, Kind::Text);
}

void TextColumn::append(const QVariant& value) {
    if (value.metaType().id() == QMetaType::QString) {
        appendText(*static_cast<const QString*>(value.constData()), Kind::Text);
    } else if (isNullMarker(value)) {
        kinds.append(quint8(Kind::Null));
        folderOf.append(kNoFolder);
        nameEnds.append(names.size());
    } else {
        appendText(value.toString(), Kind::Other);
    }
}

void TextColumn::appendAbsent() {
    kinds.append(quint8(Kind::Absent));
    folderOf.append(kNoFolder);
    nameEnds.append(names.size());
}

void TextColumn::appendText(QStringView text, Kind kind) {
    quint32 folder = kNoFolder;
    QStringView name = text;
    if (const qsizetype slash = text.lastIndexOf(u'/'); slash >= 0 && kind == Kind::Text) {
        folder = folderId(text.first(slash));
        if (folder != kNoFolder)
            name = text.sliced(slash + 1);
    }
    // Three bytes at most per UTF-16 unit; the buffer grows geometrically, so this is no copy per entry.
    const qsizetype start = names.size();
    names.resize(start + name.size() * 3);
    QStringEncoder toUtf8(QStringEncoder::Utf8, kVerbatim);
    const char* end = toUtf8.appendToBuffer(names.data() + start, name);
    names.resize(end - names.constData());
    kinds.append(quint8(kind));
    folderOf.append(folder);
    nameEnds.append(names.size());
}

quint32 TextColumn::folderId(QStringView folder) {
    if (lastFolder != kNoFolder && folders.at(lastFolder - 1) == folder)
        return lastFolder;
    QString key = folder.toString();
    if (const auto known = folderIds.constFind(key); known != folderIds.constEnd())
        return lastFolder = *known;
    // Past four billion folders the entries keep their whole text.
    if (folders.size() >= qsizetype(std::numeric_limits<quint32>::max() - 1))
        return kNoFolder;
    folders.append(key);
    lastFolder = quint32(folders.size());
    folderIds.insert(std::move(key), lastFolder);
    return lastFolder;
}

QByteArrayView TextColumn::nameOf(qsizetype i) const {
    const qsizetype start = i == 0 ? 0 : nameEnds.at(i - 1);
    return QByteArrayView(names.constData() + start, nameEnds.at(i) - start);
}

QString TextColumn::text(qsizetype i) const {
    QString out;
    textInto(i, out);
    return out;
}

void TextColumn::textInto(qsizetype i, QString& out) const {
    const QByteArrayView name = nameOf(i);
    const quint32 folder = folderOf.at(i);
    const QString* dir = folder == kNoFolder ? nullptr : &folders.at(folder - 1);
    const qsizetype prefix = dir ? dir->size() + 1 : 0;
    // A UTF-8 name never has more UTF-16 units than bytes.
    out.resize(prefix + name.size());
    QChar* at = out.data();
    if (dir) {
        std::memcpy(at, dir->constData(), size_t(dir->size()) * sizeof(QChar));
        at[dir->size()] = u'/';
    }
    QStringDecoder fromUtf8(QStringDecoder::Utf8, kVerbatim);
    const QChar* end = fromUtf8.appendToBuffer(at + prefix, name);
    out.resize(end - out.constData());
}

QVariant TextColumn::at(qsizetype i) const {
    switch (kind(i)) {
    case Kind::Text:
        return text(i);
    case Kind::Null:
        return nullMarker();
    case Kind::Absent:
        return QStringLiteral("");
    case Kind::Other:
        return text(i).toUtf8();
    }
    return {};
}
