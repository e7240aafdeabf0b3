#pragma once

// What a site file needs, in one include: the job state and album records, requests and
// addresses, the page walk, the sinks, the files some sites write, and the text helpers.
#include "core/album_record.h"
#include "core/job_state.h"
#include "core/picture_queue.h"
#include "sites/list_pages.h"
#include "sites/page_walk.h"
#include "sites/site_address.h"
#include "sites/site_files.h"
#include "sites/site_request.h"
#include "sites/site_sinks.h"
#include "sites/site_types.h"
#include "sites/site_values.h"
#include "web/pause_clock.h"
#include "web/response_decoding.h"
#include "web/text_helpers.h"
