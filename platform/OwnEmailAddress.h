#pragma once

#include <QString>
#include <optional>

// The user's own e-mail address, from $EMAIL; nothing when it is unset or blank.
std::optional<QString> ownEmailAddress();
