#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

MenuItem* Item(int32_t item) {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->FindMenuItem(item) : nullptr;
}

int32_t AddItem(int32_t menu, const char* text) {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->AddMenuItem(menu, text) : 0;
}

void EnableItem(int32_t item, int32_t enabled) {
  if (MenuItem* found = Item(item)) found->enabled = enabled != 0;
}

void SetItemText(int32_t item, const char* text) {
  if (MenuItem* found = Item(item)) found->text = text ? text : "";
}

void RemoveItem(int32_t item) {
  if (MenuItem* found = Item(item)) found->removed = true;
}

}  // namespace

XtMenuTable MenuTable() {
  return {AddItem, EnableItem, SetItemText, RemoveItem};
}

}  // namespace layouthost
