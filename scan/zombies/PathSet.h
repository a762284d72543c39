/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// A set of native paths for the zombie walk: a million entries must be looked up about as fast
// as the file system yields them. Open addressing over one flat table (one cache miss per
// probe, no node per entry), the bytes in a few large chunks, and a member is "taken" rather
// than erased, so what the walk never met can be listed afterwards.
class PathSet {
public:
    explicit PathSet(size_t expected = 0);

    void insert(std::string_view path) { insert(path, hashOf(path)); }
    // True when the path is a member not taken before; it is taken from then on.
    bool take(std::string_view path) { return take(path, hashOf(path)); }

    // For batches: hash first, prefetch the slots, then insert or take with the hash, so the
    // table's cache misses overlap instead of following one another.
    static uint64_t hashOf(std::string_view path);
    void prefetch(uint64_t hash) const { __builtin_prefetch(&table[size_t(hash) & (table.size() - 1)]); }
    void insert(std::string_view path, uint64_t hash);
    bool take(std::string_view path, uint64_t hash);
    bool contains(std::string_view path) const;
    size_t size() const { return count; }

    void forEachUntaken(const std::function<void(std::string_view)>& visit) const;

private:
    struct Slot {
        uint64_t hash = 0; // 0: empty
        const char* data = nullptr;
        uint32_t length = 0;
        uint32_t taken = 0;
    };

    Slot* find(std::string_view path, uint64_t hash);
    const char* store(std::string_view path);
    void grow();

    std::vector<Slot> table;
    size_t count = 0;
    std::vector<std::unique_ptr<char[]>> chunks;
    size_t chunkUsed = 0;
    size_t chunkSize = 0;
};
