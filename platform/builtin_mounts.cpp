#include "platform/builtin_mounts.h"

std::vector<BuiltinMount> BuiltinMounts() {
  return {};
}
