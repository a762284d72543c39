/*
    SPDX-FileCopyrightText: 2026 The Vup developers
    SPDX-License-Identifier: GPL-3.0-or-later
*/
#pragma once

#include <sys/types.h>
#include <unistd.h>

// Permission tests need a user the kernel may refuse. As root the whole process takes the
// identity of "nobody" while the guard lives (root stays the saved identity, so it can come
// back); as any other user nothing changes, since that user's own mode bits already bind it.
class AsNobody {
public:
    static constexpr uid_t kNobody = 65534;

    AsNobody() {
        const bool root = ::geteuid() == 0;
        switched = root && become(kNobody);
        active = !root || switched;
    }
    ~AsNobody() {
        if (switched)
            become(0);
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

    // False when no identity that can be refused is available: the test should skip.
    bool isActive() const { return active; }

    // Runs `work` as root again for a moment (to change a mode the test set up).
    template <typename F> static void asRoot(F&& work) {
        const bool wasSwitched = ::getuid() == kNobody && ::geteuid() == kNobody;
        if (wasSwitched)
            become(0);
        work();
        if (wasSwitched)
            become(kNobody);
    }

private:
    // Only root may change the group, so it changes first when leaving root and last when coming back.
    static bool become(uid_t id) {
        return id == 0 ? ::setresuid(0, 0, 0) == 0 && ::setresgid(0, 0, 0) == 0
                       : ::setresgid(id, id, 0) == 0 && ::setresuid(id, id, 0) == 0;
    }

    bool active = false;
    bool switched = false;
};
