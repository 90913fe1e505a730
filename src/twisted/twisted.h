#pragma once
// Deferred execution: results and failures, deferreds and executors, deferred lists and
// semaphores.

#include "twisted/concurrency_primitive.h"
#include "twisted/defer.h"
#include "twisted/defer_list.h"
#include "twisted/deferred_semaphore.h"
#include "twisted/errors.h"
#include "twisted/exception_mapping.h"
#include "twisted/executor.h"
#include "twisted/failure.h"
#include "twisted/result.h"
