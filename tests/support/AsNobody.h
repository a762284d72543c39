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
        if (::geteuid() != 0) {
            active = true;
            return;
        }
        switched = ::setresgid(kNobody, kNobody, 0) == 0 && ::setresuid(kNobody, kNobody, 0) == 0;
        active = switched;
    }
    ~AsNobody() {
        if (switched) {
            [[maybe_unused]] const int a = ::setresuid(0, 0, 0);
            [[maybe_unused]] const int b = ::setresgid(0, 0, 0);
        }
    }
    AsNobody(const AsNobody&) = delete;
    AsNobody& operator=(const AsNobody&) = delete;

    // False when no identity that can be refused is available: the test should skip.
    bool isActive() const { return active; }

    // Runs `work` as root again for a moment (to change a mode the test set up).
    template <typename F> static void asRoot(F&& work) {
        const bool wasSwitched = ::getuid() == kNobody && ::geteuid() == kNobody;
        if (wasSwitched) {
            [[maybe_unused]] const int a = ::setresuid(0, 0, 0);
            [[maybe_unused]] const int b = ::setresgid(0, 0, 0);
        }
        work();
        if (wasSwitched) {
            [[maybe_unused]] const int b = ::setresgid(kNobody, kNobody, 0);
            [[maybe_unused]] const int a = ::setresuid(kNobody, kNobody, 0);
        }
    }

private:
    bool active = false;
    bool switched = false;
};
