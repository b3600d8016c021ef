// Message boxes of the plug-in: through the host while it is bound, else one line on stderr
// (tools and tests without a host).
#pragma once

#include <string>

namespace xt {

// A plain message box with the default button.
void ShowMessage(const std::string& text);

// A question with Yes and No; true for Yes. Without a host the answer is No.
bool AskYesNo(const std::string& text);

}  // namespace xt
