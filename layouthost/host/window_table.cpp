#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

// The document stands for its window: the plug-in only passes the pointer back as a parent.
void* FrontWindow() {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->document() : nullptr;
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
  return {FrontWindow, MessageBox, AskText};
}

}  // namespace layouthost
