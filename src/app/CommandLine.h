#pragma once

#include <QStringList>
#include <optional>

// The program's command line, read before anything needs a display.
namespace CommandLine {

// Answers --help and --version, and an unknown option with the usage on
// standard error; returns the exit status then. nullopt: start the program.
std::optional<int> Answer(const QStringList& arguments);

} // namespace CommandLine
