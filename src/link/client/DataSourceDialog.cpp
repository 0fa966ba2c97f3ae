#include "DataSourceDialog.h"
