#include "indexer/cli/value_escapes.h"

#include <charconv>
#include <cstdint>
#include <limits>

#include "indexer/cli/terminal_text.h"

namespace indexer::cli {
namespace {

std::optional<std::int16_t> ParseShort(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max())
    return std::nullopt;
  return static_cast<std::int16_t>(value);
}

}  // namespace

std::string EscapeValue(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<std::string> UnescapeValue(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\':
        out += '\\';
        break;
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

std::string FormatPreference(const SettingsStore& store, const SettingKey& key) {
  std::string value;
  switch (key.type) {
    case SettingType::kString: {
      std::string text;
      store.GetString(key.id, text);
      value = EscapeValue(text);
      break;
    }
    case SettingType::kBool: {
      bool flag = false;
      store.GetBool(key.id, flag);
      value = flag ? "1" : "0";
      break;
    }
    case SettingType::kShort: {
      std::uint16_t number = 0;
      store.GetShort(key.id, number);
      value = std::to_string(static_cast<std::int16_t>(number));
      break;
    }
  }
  return std::string(key.name) + "=" + value;
}

bool ApplyPreference(std::string_view assignment, SettingsStore& store, std::string& error) {
  const std::size_t equals = assignment.find('=');
  if (equals == std::string_view::npos) {
    error = "expected KEY=VALUE, got \"" + std::string(assignment) + "\"";
    return false;
  }
  const std::string_view name = assignment.substr(0, equals);
  const std::string_view typed = assignment.substr(equals + 1);
  const SettingKey* key = FindSettingKey(name);
  if (!key) {
    error = "unknown preference key \"" + std::string(name) + "\"";
    return false;
  }
  const auto bad_value = [&](std::string_view why) {
    error = "bad value for " + std::string(key->name) + ": " + std::string(why);
    return false;
  };
  switch (key->type) {
    case SettingType::kString: {
      const std::optional<std::string> text = ArgumentText(typed);
      if (!text) return bad_value("not representable in Windows-1252");
      const std::optional<std::string> value = UnescapeValue(*text);
      if (!value) return bad_value("a backslash must be followed by \\, r, n or t");
      store.SetString(key->id, *value);
      return true;
    }
    case SettingType::kBool:
      if (typed != "0" && typed != "1") return bad_value("expected 0 or 1");
      store.SetBool(key->id, typed == "1");
      return true;
    case SettingType::kShort: {
      const std::optional<std::int16_t> number = ParseShort(typed);
      if (!number) return bad_value("expected a whole number from -32768 to 32767");
      store.SetShort(key->id, static_cast<std::uint16_t>(*number));
      return true;
    }
  }
  return bad_value("unknown type");
}

}  // namespace indexer::cli
