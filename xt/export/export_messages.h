// Message boxes and questions of the export, through the host's window table.
#pragma once

#include <string>
#include <string_view>

namespace xt {

// Shows `text`; without a host window table it goes to stderr as one line.
void ShowMessage(std::string_view text);

// Asks a yes-or-no question; No without a host to ask.
bool AskYesNo(std::string_view text);

// Asks for a line of text; empty when cancelled or without a host.
std::string AskText(std::string_view prompt);

// "File error %d" with the cause code.
void ShowFileError(int cause);

}  // namespace xt
