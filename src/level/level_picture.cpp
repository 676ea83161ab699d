#include "level/level_picture.h"
