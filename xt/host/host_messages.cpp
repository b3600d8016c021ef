#include "xt/host/host_messages.h"

#include <cstdio>

#include "xt/host/host_tables.h"

namespace xt {

void ShowMessage(const std::string& text) {
  if (Host().windows.message_box != nullptr) {
    Host().windows.message_box(text.c_str(), 0);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

bool AskYesNo(const std::string& text) {
  if (Host().windows.message_box != nullptr)
    return Host().windows.message_box(text.c_str(), 1) == XT_ANSWER_YES;
  std::fprintf(stderr, "%s\n", text.c_str());
  return false;
}

}  // namespace xt
