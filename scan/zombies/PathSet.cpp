/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#include "scan/zombies/PathSet.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {
constexpr size_t kChunk = size_t(1) << 20;
}

PathSet::PathSet(size_t expected) : table(std::bit_ceil(std::max<size_t>(16, expected * 2))) {}

uint64_t PathSet::hashOf(std::string_view path) {
    const uint64_t h = std::hash<std::string_view>()(path);
    return h == 0 ? 1 : h;
}

PathSet::Slot* PathSet::find(std::string_view path, uint64_t hash) {
    const size_t mask = table.size() - 1;
    for (size_t i = size_t(hash) & mask;; i = (i + 1) & mask) {
        Slot& slot = table[i];
        if (slot.hash == 0)
            return &slot;
        if (slot.hash == hash && slot.length == path.size() &&
            std::memcmp(slot.data, path.data(), path.size()) == 0)
            return &slot;
    }
}

const char* PathSet::store(std::string_view path) {
    if (chunks.empty() || chunkUsed + path.size() > chunkSize) {
        chunkSize = std::max(kChunk, path.size());
        chunks.push_back(std::make_unique<char[]>(chunkSize));
        chunkUsed = 0;
    }
    char* at = chunks.back().get() + chunkUsed;
    std::memcpy(at, path.data(), path.size());
    chunkUsed += path.size();
    return at;
}

void PathSet::grow() {
    std::vector<Slot> old(table.size() * 2);
    old.swap(table);
    const size_t mask = table.size() - 1;
    for (const Slot& slot : old) {
        if (slot.hash == 0)
            continue;
        size_t i = size_t(slot.hash) & mask;
        while (table[i].hash != 0)
            i = (i + 1) & mask;
        table[i] = slot;
    }
}

void PathSet::insert(std::string_view path, uint64_t hash) {
    if ((count + 1) * 2 > table.size())
        grow();
    Slot* slot = find(path, hash);
    if (slot->hash != 0)
        return;
    *slot = Slot{hash, store(path), uint32_t(path.size()), 0};
    ++count;
}

bool PathSet::take(std::string_view path, uint64_t hash) {
    Slot* slot = find(path, hash);
    if (slot->hash == 0 || slot->taken)
        return false;
    slot->taken = 1;
    return true;
}

bool PathSet::contains(std::string_view path) const {
    return const_cast<PathSet*>(this)->find(path, hashOf(path))->hash != 0;
}

void PathSet::forEachUntaken(const std::function<void(std::string_view)>& visit) const {
    for (const Slot& slot : table) {
        if (slot.hash != 0 && !slot.taken)
            visit(std::string_view(slot.data, slot.length));
    }
}
