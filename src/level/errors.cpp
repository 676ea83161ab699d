#include "level/errors.h"
