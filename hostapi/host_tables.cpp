#include "hostapi/host_tables.h"

namespace xt {

HostTables& Host() {
  static HostTables tables;
  return tables;
}

}  // namespace xt
