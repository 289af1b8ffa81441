// Adagio's dialog templates, pictures and icons for the UI layer.
#pragma once

#include "platform/ui/resources.h"

const UiResources& AdagioUiResources();
