#pragma once
// HTTP requests: responses and status codes.

#include "services/net/RequestProcessor.h"
#include "services/net/Response.h"
#include "services/net/StatusCode.h"
