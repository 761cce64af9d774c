#include "standin/nwrfc_standin.h"
