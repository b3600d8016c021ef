// KEY=VALUE text for preferences: strings carry backslash, CR, LF and TAB as "\\", "\r", "\n",
// "\t" so that every value fits on one line; booleans are 0 or 1, shorts signed decimal.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "indexer/store/settings_keys.h"
#include "indexer/store/settings_store.h"

namespace indexer::cli {

std::string EscapeValue(std::string_view text);

// Nothing when a backslash is followed by anything but \, r, n or t.
std::optional<std::string> UnescapeValue(std::string_view text);

// The stored value of `key` as its KEY=VALUE text (Windows-1252).
std::string FormatPreference(const SettingsStore& store, const SettingKey& key);

// Parses "KEY=VALUE" (UTF-8, as typed) and stores it. On failure returns false, leaves the store
// unchanged and sets `error` to a message naming the key or the value.
bool ApplyPreference(std::string_view assignment, SettingsStore& store, std::string& error);

}  // namespace indexer::cli
