#include "graphs/toolkit/GaugeIndicators.h"

#include <gtest/gtest.h>
