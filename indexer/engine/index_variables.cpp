#include "indexer/engine/index_variables.h"

#include <array>
#include <utility>

namespace indexer {
namespace {

constexpr unsigned char kFirstNumericEntity = 128;
constexpr unsigned char kFirstNamedEntity = 160;

// HTML 2.0 names of the characters 160 to 255, in code order.
constexpr std::array<std::string_view, 96> kLatinEntityNames = {
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brkbar", "sect",   "uml",
    "copy",   "ordf",   "laquo",  "not",    "shy",    "reg",    "hibar",  "deg",    "plusmn",
    "sup2",   "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",
    "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde",
    "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave",
    "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde",
    "Ouml",   "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",
    "szlig",  "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil",
    "egrave", "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",
    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave",
    "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml",
};

constexpr std::string_view kIssue = "$ISSUE:";
constexpr std::string_view kYear = "$YEAR:";
constexpr std::string_view kTime = "$TIME:";
constexpr std::string_view kDate = "$DATE:";
constexpr std::string_view kCategory = "$CATEGORY:";

}  // namespace

IndexVariables::IndexVariables(DateSettings date, Clock clock)
    : date_(std::move(date)), clock_(std::move(clock)) {}

std::string IndexVariables::Substitute(std::string_view year, std::string_view issue,
                                       std::string_view text, std::string_view category) const {
  std::string filled;
  filled.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t dollar = text.find('$', pos);
    if (dollar == std::string_view::npos) {
      filled.append(text.substr(pos));
      break;
    }
    filled.append(text.substr(pos, dollar - pos));
    const std::string_view rest = text.substr(dollar);
    if (rest.starts_with(kIssue)) {
      filled.append(issue);
      pos = dollar + kIssue.size();
    } else if (rest.starts_with(kYear)) {
      filled.append(year);
      pos = dollar + kYear.size();
    } else if (rest.starts_with(kTime)) {
      filled.append(TimeText(clock_()));
      pos = dollar + kTime.size();
    } else if (rest.starts_with(kDate)) {
      filled.append(DateText(date_, clock_()));
      pos = dollar + kDate.size();
    } else if (rest.starts_with(kCategory)) {
      filled.append(category);
      pos = dollar + kCategory.size();
    } else {
      filled.push_back('$');
      pos = dollar + 1;
    }
  }
  return EncodeEntities(filled);
}

std::string EncodeEntities(std::string_view text) {
  std::string encoded;
  encoded.reserve(text.size());
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code < kFirstNumericEntity) {
      encoded.push_back(c);
    } else if (code < kFirstNamedEntity) {
      encoded.append("&#").append(std::to_string(code)).push_back(';');
    } else {
      encoded.append("&").append(LatinEntityName(code)).push_back(';');
    }
  }
  return encoded;
}

std::string_view LatinEntityName(unsigned char code) {
  if (code < kFirstNamedEntity) return {};
  return kLatinEntityNames[code - kFirstNamedEntity];
}

}  // namespace indexer
