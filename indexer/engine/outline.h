// The outline of a collection, as the collection view shows it: one group line per category
// group, under it one line per description and under that one line per subdescription, in
// index order. Display only: nothing here is written back.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/store/mmore_err.h"

namespace indexer {

class CategoryTable;
struct ArticleRecord;

constexpr int kGroupLevel = 2;
constexpr int kDescriptionLevel = 1;
constexpr int kSubdescriptionLevel = 0;

// Texts longer than this are cut and get "..." appended.
constexpr std::size_t kOutlineTextLimit = 64;

// The text as a line shows it: the entity names &auml &Auml &ouml &Ouml &uuml &Uuml &szlig
// &amp &quot &lt &gt (each with an optional ";") replaced by their Windows-1252 characters, then
// cut to kOutlineTextLimit characters plus "...".
std::string OutlineText(std::string_view text);

struct OutlineLine {
  int level;
  std::string text;

  bool operator==(const OutlineLine&) const = default;
};

class Outline {
 public:
  void clear();

  // Empties the outline, then reads every record of the collection from the last to the first,
  // each adding its lines in front of the lines of its level. 0, or the collection's error
  // (the outline then stays empty).
  MMoreErr load(const std::string& collectionPath, const CategoryTable& categories);

  // The lines in display order: each group line followed by its description lines, each of
  // those followed by its subdescription lines.
  std::vector<OutlineLine> lines() const;
  bool empty() const { return groups_.empty(); }

 private:
  struct Description {
    std::string text;
    std::deque<std::string> subdescriptions;
  };
  struct Group {
    std::string text;
    std::deque<Description> descriptions;
  };

  // Adds the lines of one record; records are added from the last to the first.
  void addRecord(const ArticleRecord& record, bool flag0, const CategoryTable& categories);

  std::deque<Group> groups_;
  // Values of the record processed before, for deciding which lines a record adds.
  std::string lastYear_, lastIssue_, lastCategory_, lastDescription_, lastSubdescription_;
};

}  // namespace indexer
