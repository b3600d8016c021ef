// The collection outline: record lines in index order, built the way the view reads them, from
// the last record to the first with each line put in front of the first line of its level.
#include "indexer/engine/outline.h"

#include <array>

#include "indexer/engine/article_record.h"
#include "indexer/engine/index_collection.h"
#include "indexer/store/category_table.h"

namespace indexer {
namespace {

struct Entity {
  std::string_view name;  // without the leading "&"
  char character;         // Windows-1252
};

constexpr std::array<Entity, 11> kEntities = {{
    {"auml", '\xE4'},
    {"Auml", '\xC4'},
    {"ouml", '\xF6'},
    {"Ouml", '\xD6'},
    {"uuml", '\xFC'},
    {"Uuml", '\xDC'},
    {"szlig", '\xDF'},
    {"amp", '&'},
    {"quot", '"'},
    {"lt", '<'},
    {"gt", '>'},
}};

// The display name of a category: the part of its table value before the carriage return;
// the category itself when the table has no row for it.
std::string DisplayCategory(const std::string& category, const CategoryTable& categories) {
  std::string value;
  if (categories.Find(CategoryKeyFor(category), value) != kNoErr) return category;
  return value.substr(0, value.find(kCategorySeparator));
}

}  // namespace

std::string OutlineText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const Entity& entity : kEntities) {
        if (text.substr(i + 1).starts_with(entity.name)) {
          shown += entity.character;
          i += 1 + entity.name.size();
          if (i < text.size() && text[i] == ';') ++i;
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) shown += text[i++];
  }
  if (shown.size() > kOutlineTextLimit) {
    shown.resize(kOutlineTextLimit);
    shown += "...";
  }
  return shown;
}

void Outline::clear() {
  groups_.clear();
  lastYear_.clear();
  lastIssue_.clear();
  lastCategory_.clear();
  lastDescription_.clear();
  lastSubdescription_.clear();
}

MMoreErr Outline::load(const std::string& collectionPath, const CategoryTable& categories) {
  clear();
  // Read only: the collection is left exactly as it is on disk.
  IndexCollection collection(collectionPath);
  if (MMoreErr status = collection.open("rb"); status != kNoErr) return status;
  std::uint32_t indexType = 0;
  bool flag0 = false;
  bool flag1 = false;
  collection.getHeader(indexType, flag0, flag1);
  // Read in one pass, then added from the last record to the first.
  std::vector<ArticleRecord> records;
  collection.readRecords(records);
  for (auto record = records.rbegin(); record != records.rend(); ++record) {
    if (record->inUse) addRecord(*record, flag0, categories);
  }
  return kNoErr;
}

void Outline::addRecord(const ArticleRecord& record, bool flag0, const CategoryTable& categories) {
  const std::string category = DisplayCategory(record.category, categories);
  if (record.year != lastYear_ || record.issue != lastIssue_ || category != lastCategory_) {
    std::string text = category;
    if (!flag0) text += "(" + record.issue + "/" + record.year + ")";
    if (!text.empty()) groups_.push_front({OutlineText(text), {}});
  }
  lastYear_ = record.year;
  lastIssue_ = record.issue;
  lastCategory_ = category;

  if (record.description != lastDescription_ && !record.description.empty() && !groups_.empty()) {
    groups_.front().descriptions.push_front({OutlineText(record.description), {}});
  }
  lastDescription_ = record.description;

  if (record.subdescription != lastSubdescription_ && !record.subdescription.empty() &&
      !groups_.empty() && !groups_.front().descriptions.empty()) {
    groups_.front().descriptions.front().subdescriptions.push_front(
        OutlineText(record.subdescription));
  }
  lastSubdescription_ = record.subdescription;
}

std::vector<OutlineLine> Outline::lines() const {
  std::vector<OutlineLine> lines;
  for (const Group& group : groups_) {
    lines.push_back({kGroupLevel, group.text});
    for (const Description& description : group.descriptions) {
      lines.push_back({kDescriptionLevel, description.text});
      for (const std::string& subdescription : description.subdescriptions) {
        lines.push_back({kSubdescriptionLevel, subdescription});
      }
    }
  }
  return lines;
}

}  // namespace indexer
