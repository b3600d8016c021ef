#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

void* FrontWindow() {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->FrontWindow() : nullptr;
}

void SendMessage(void* window, int32_t message) {
  if (LayoutHost* host = LayoutHost::Active()) host->SendMessage(window, message);
}

int32_t MessageBox(const char* text, int32_t yes_no) {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->MessageBox(text, yes_no != 0) : XT_ANSWER_NO;
}

int32_t AskText(const char* prompt, char* value, int32_t capacity) {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->AskText(prompt, value, capacity) : 0;
}

}  // namespace

XtWindowTable WindowTable() {
  return {FrontWindow, MessageBox, AskText, SendMessage};
}

}  // namespace layouthost
