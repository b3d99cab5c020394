#include "text_export.h"
#include "tools_test_util.h"
