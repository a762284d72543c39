#pragma once

#include "photoapp/Catalogue.h"

#include <memory>

// `photoapp serve`: owns the bus name and answers requests until SIGTERM or SIGINT (exit 0), or
// until the bus goes away (exit 1).
namespace ServeCommand {

int run(std::unique_ptr<Catalogue> catalogue, const QString& version);

} // namespace ServeCommand
