#include "TimeField.h"
