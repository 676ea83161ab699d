#include "level/tile_code.h"
