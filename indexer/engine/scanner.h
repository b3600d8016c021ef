// The scanner interface: a component that walks a source (a folder of the archive) and fills a
// collection with one record per document it finds, and that can chain the documents it made
// records of. The operations are declared in the order of the interface's slots.
#pragma once

#include <cstddef>
#include <string>

#include "indexer/engine/index_component.h"

namespace indexer {

class FileStream;
class IndexCollection;

// What collectionPathFor() tells the scanning run to do with the path it gave back.
constexpr int kCollectionPathReady = 0;      // the path is the collection file
constexpr int kCollectionPathAskFolder = 2;  // prefix a folder the user chooses
constexpr int kCollectionPathNone = 4;       // scan without a collection file

class Scanner : public IndexComponent {
 public:
  using IndexComponent::IndexComponent;

  // Slot 0: binds the file object to the path; 0.
  virtual MMoreErr toFile(const char* path, FileStream& file);
  // Slot 1: reserved; 9.
  virtual MMoreErr reserved();
  // Slot 2: replaces the link markers of one document by links to the index and to the
  // previous and next documents (each URL empty at the ends of the chain).
  virtual MMoreErr chain(const std::string& documentPath, const std::string& indexPrefix,
                         const std::string& indexName, const std::string& previous,
                         const std::string& next) = 0;
  // Slot 3: destroy.
  ~Scanner() override = default;
  // Slot 4: converts and calls slot 5.
  virtual int accepts(const char* source);
  // Slot 5: non-zero when this scanner can scan the source.
  virtual int accepts(const std::string& source) = 0;
  // Slot 6: converts, calls slot 7 and copies the result back into the caller's buffer of
  // `capacity` bytes (NUL included); a result that does not fit gives 3.
  virtual int collectionPathFor(char* path, std::size_t capacity);
  // Slot 7: turns the source into the collection file path; returns one of the modes above.
  virtual int collectionPathFor(std::string& path) = 0;
  // Slot 8: fills the collection from the source; options may be null.
  virtual MMoreErr scan(const OptionMap* options, IndexCollection& collection,
                        const std::string& source) = 0;
  // Slots 9 to 11.
  virtual std::string description() const = 0;
  virtual std::string usage() const = 0;
  virtual std::string author() const = 0;
};

}  // namespace indexer
