// Linux native source: filled in below.
#include "linuxsensorlibrary.h"
