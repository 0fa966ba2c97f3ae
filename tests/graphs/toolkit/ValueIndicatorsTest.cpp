#include "graphs/toolkit/ValueIndicators.h"

#include <gtest/gtest.h>
