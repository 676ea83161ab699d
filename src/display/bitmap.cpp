#include "display/bitmap.h"
