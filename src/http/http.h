#pragma once
// Resumable, chunked HTTP downloads.

#include "http/DownloadChunk.h"
#include "http/HTTPDownloadManager.h"
#include "http/HTTPDownloadStream.h"
