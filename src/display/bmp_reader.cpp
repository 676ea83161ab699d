#include "display/bmp_reader.h"
