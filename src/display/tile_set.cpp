#include "display/tile_set.h"
