// Orrery's dialog templates, menus, bitmaps and icons for the UI layer.
#pragma once

#include "platform/ui/resources.h"

const UiResources& OrreryUiResources();
