#include "orrery/sky/sun_moon.h"

#include <gtest/gtest.h>
