// The terminal speaks UTF-8, the indexer Windows-1252: conversions at that edge, and the
// messages every command prints the same way.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "indexer/startup/indexer_files.h"

namespace indexer::cli {

// Writes a Windows-1252 line to stdout as UTF-8.
void PrintLine(std::string_view cp1252_text);

// Writes a Windows-1252 status line (not a result) to stderr as UTF-8.
void PrintStatus(std::string_view cp1252_text);

// "indexer: " + message (UTF-8) on stderr; returns `status` for a one-line return.
int Fail(int status, std::string_view message);

// A usage error: the message and where to find help on stderr; returns the usage exit status.
int UsageError(std::string_view message);
// Fail, with the path and the system's reason of the failure behind it on the next line.
int FailWithDetail(int status, std::string_view message);
// That next line alone ("indexer: PATH: REASON"), when a file failure is known.
void PrintFailureDetail();

// LoadIndexerFiles, telling on stderr of every unreadable file it kept aside as NAME.bad.
StartupResult LoadFilesTelling(IndexEngine& engine);

// A command-line argument (UTF-8) as Windows-1252; nothing when it cannot be represented.
std::optional<std::string> ArgumentText(std::string_view utf8);

}  // namespace indexer::cli
