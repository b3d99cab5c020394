#include "dbase.h"
#include "tools_test_util.h"
