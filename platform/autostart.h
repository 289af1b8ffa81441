// The per-user Run key, served from the XDG autostart folder.
#pragma once

#include "platform/registry.h"

#include <memory>

// The provider of HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\run.
std::shared_ptr<RegProvider> MakeRunKeyProvider();
