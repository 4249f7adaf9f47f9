#include "run/test_support.h"
