#include "level/data_file.h"
