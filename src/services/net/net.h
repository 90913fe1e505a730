#pragma once
// HTTP requests: the request processor, responses, status codes and URLs.

#include "services/net/RequestProcessor.h"
#include "services/net/Response.h"
#include "services/net/StatusCode.h"
#include "services/net/URL.h"
