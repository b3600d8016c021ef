#include "xt/export/character_table.h"

namespace xt {
namespace {

// The HTML 3.2 entity names of the Latin-1 letters 192 to 255; 215 and 247 (the multiplication
// and division signs) have none there and stay as they are.
constexpr std::uint8_t kFirstLetter = 192;
constexpr const char* kLetterEntities[64] = {
    "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig", "Ccedil",
    "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute", "Icirc", "Iuml",
    "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",  nullptr,
    "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN", "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig", "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc", "iuml",
    "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",  nullptr,
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn", "yuml"};

constexpr std::uint8_t kFirstPrintable = 32;

}  // namespace

CharacterTable::CharacterTable() {
  for (int byte = kFirstPrintable; byte < 256; ++byte) {
    entries_[byte] = std::string(1, static_cast<char>(byte));
  }
  entries_[7] = "<br>\r\n";
  entries_[10] = "<p>\r\n";
  entries_[13] = "<p>\r\n";
  entries_['"'] = "&quot;";
  entries_['&'] = "&amp;";
  entries_['<'] = "&lt;";
  entries_['>'] = "&gt;";
  entries_[160] = "&nbsp;";
  entries_[173] = "&shy;";
  for (int i = 0; i < 64; ++i) {
    if (kLetterEntities[i] != nullptr) {
      entries_[kFirstLetter + i] = std::string("&") + kLetterEntities[i] + ";";
    }
  }
  for (int byte = 0; byte < 256; ++byte) {
    verbatim_[byte] = entries_[byte].size() == 1 && entries_[byte][0] == static_cast<char>(byte);
  }
}

}  // namespace xt
