// Feeds arbitrary bytes to the INI reader: lookups must not crash, and a value written into any
// parsed document must read back unchanged (line breaks aside) without disturbing other keys.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto document = platform::IniDocument::Parse(text);
  const auto again = platform::IniDocument::Parse(document.Serialize());
  if (again.Serialize() != document.Serialize()) std::abort();

  for (const char* section : {"Settings", "MetaTags", "ExportDialog"}) {
    for (const auto& key : document.Keys(section)) {
      if (!document.Get(section, key)) std::abort();
      platform::ParseProfileInt(*document.Get(section, key));
    }
  }
  const auto before = document.Get("ExportDialog", "Path");
  document.Set("Settings", "DestFolder", "/tmp/a=b;[c]");
  if (document.Get("settings", "destfolder") != "/tmp/a=b;[c]") std::abort();
  if (document.Get("ExportDialog", "Path") != before) std::abort();
  document.DeleteSection("Settings");
  if (document.Get("Settings", "DestFolder")) std::abort();
  return 0;
}
