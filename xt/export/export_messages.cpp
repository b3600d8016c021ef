#include "xt/export/export_messages.h"

#include <cstdio>
#include <vector>

#include "hostapi/host_tables.h"

namespace xt {
namespace {

constexpr int kAnswerCapacity = 4096;

}  // namespace

void ShowMessage(std::string_view text) {
  const std::string message(text);
  if (Host().windows.message_box) {
    Host().windows.message_box(message.c_str(), 0);
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
}

bool AskYesNo(std::string_view text) {
  if (!Host().windows.message_box) return false;
  const std::string question(text);
  return Host().windows.message_box(question.c_str(), 1) == XT_ANSWER_YES;
}

std::string AskText(std::string_view prompt) {
  if (!Host().windows.ask_text) return {};
  std::vector<char> value(kAnswerCapacity, '\0');
  const std::string text(prompt);
  if (!Host().windows.ask_text(text.c_str(), value.data(), kAnswerCapacity)) return {};
  value.back() = '\0';
  return value.data();
}

void ShowFileError(const platform::Status& failure) {
  char text[64];
  std::snprintf(text, sizeof text, "File error %d", failure.system_error());
  ShowMessage(std::string(text) + "\n" + failure.Detail());
}

}  // namespace xt
