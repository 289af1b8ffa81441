// Subtrees of the registry that the platform serves from system data
// rather than from the hives.
#pragma once

#include "platform/registry.h"

#include <memory>
#include <string>
#include <vector>

struct BuiltinMount {
  enum Root { kCurrentUser, kLocalMachine } root;
  std::string path;
  std::shared_ptr<RegProvider> provider;  // null: not available here
};

// The built-in mounts, installed by the registry on its first use.
std::vector<BuiltinMount> BuiltinMounts();
