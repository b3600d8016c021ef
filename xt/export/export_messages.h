// Message boxes and questions of the export, through the host's window table.
#pragma once

#include <string>
#include <string_view>

#include "platform/status.h"

namespace xt {

// Shows `text`; without a host window table it goes to stderr as one line.
void ShowMessage(std::string_view text);

// Asks a yes-or-no question; No without a host to ask.
bool AskYesNo(std::string_view text);

// Asks for a line of text; empty when cancelled or without a host.
std::string AskText(std::string_view prompt);

// "File error %d" with the system's error number, and on the next line the file and the
// system's reason.
void ShowFileError(const platform::Status& failure);

}  // namespace xt
