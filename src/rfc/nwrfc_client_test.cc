#include "rfc/nwrfc_client.h"
