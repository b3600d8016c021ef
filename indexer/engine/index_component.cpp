// Construction checks and null-safe callbacks shared by scanners and writers.
#include "indexer/engine/index_component.h"

namespace indexer {

IndexComponent::IndexComponent(const ComponentArgs& args) : args_(args) {
  if (args.preferences == nullptr) throw kBadArgument;
}

MMoreErr IndexComponent::progress(const std::string& text) const {
  return args_.progress ? args_.progress(text, args_.context) : kNoErr;
}

MMoreErr IndexComponent::step() const {
  return args_.step ? args_.step(args_.context) : kNoErr;
}

MMoreErr IndexComponent::askType(std::uint32_t& type) const {
  return args_.askType ? args_.askType(type, args_.context) : kNoErr;
}

}  // namespace indexer
