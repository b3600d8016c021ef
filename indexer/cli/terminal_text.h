// The terminal speaks UTF-8, the indexer Windows-1252: conversions at that edge, and the
// messages every command prints the same way.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace indexer::cli {

// Writes a Windows-1252 line to stdout as UTF-8.
void PrintLine(std::string_view cp1252_text);

// Writes a Windows-1252 status line (not a result) to stderr as UTF-8.
void PrintStatus(std::string_view cp1252_text);

// "indexer: " + message (UTF-8) on stderr; returns `status` for a one-line return.
int Fail(int status, std::string_view message);

// A usage error: the message and where to find help on stderr; returns the usage exit status.
int UsageError(std::string_view message);

// A command-line argument (UTF-8) as Windows-1252; nothing when it cannot be represented.
std::optional<std::string> ArgumentText(std::string_view utf8);

}  // namespace indexer::cli
