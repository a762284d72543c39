#pragma once

#include <QStringList>

// `photoapp SUBCOMMAND ...`: every face of the program for people, scripts and tests. Answers the
// process exit status: 0 on success, 1 with a message on stderr otherwise.
namespace CommandLine {

int run(const QStringList& arguments);

} // namespace CommandLine
