#include "xt/xtension/ui_hooks.h"

namespace xt {

UiHooks& Ui() {
  static UiHooks hooks;
  return hooks;
}

}  // namespace xt
