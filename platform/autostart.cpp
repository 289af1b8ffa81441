#include "platform/autostart.h"

std::shared_ptr<RegProvider> MakeRunKeyProvider() { return nullptr; }
