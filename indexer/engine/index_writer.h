// The index writer interface: a component that reads a collection back and writes HTML index
// documents from it. The operations are declared in the order of the interface's slots.
#pragma once

#include <string>

#include "indexer/engine/index_component.h"

namespace indexer {

class IndexCollection;
class Scanner;

class IndexWriter : public IndexComponent {
 public:
  using IndexComponent::IndexComponent;

  // Slot 0: destroy.
  ~IndexWriter() override = default;
  // Slot 1: writes the index of the open collection; options may be null; scanner (may be
  // null) is the one that made the collection, used for chaining. `path` comes in as the
  // collection file path and goes back as the path of the main index file.
  virtual MMoreErr write(const OptionMap* options, IndexCollection& collection, Scanner* scanner,
                         std::string& path) = 0;
  // Slot 2: reserved; 9.
  virtual MMoreErr reserved();
  // Slots 3 to 5.
  virtual std::string description() const = 0;
  virtual std::string usage() const = 0;
  virtual std::string author() const = 0;
};

}  // namespace indexer
