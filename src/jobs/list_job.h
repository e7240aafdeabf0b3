#pragma once

#include "jobs/job_thread.h"
#include "jobs/site_dispatch.h"

namespace mosaiq {

struct JobState;

struct ListJobResult {
    bool ran = false;         // false: the input was empty
    int albums = 0;           // records in the list at the end
    bool singleItem = false;  // the input named one item: its download follows by itself
    QString unreachedHost;    // nothing listed because this host could not be reached
};

// The get-list button. Does nothing before start-up finished; a second click while the job
// runs asks it to stop (the albums found so far stay). Otherwise clears the table and the
// album list and starts the job on its own thread; when the job ends with a single-item
// input it selects every row and runs the download on the same thread.
JobThread GetListCommand(JobState& state, const SiteDispatch& dispatch = SiteTableDispatch());

// The job itself (GetListFunc) on the calling thread, without the single-item download;
// the caller has cleared the list and set m_listState to Running.
ListJobResult RunListJob(JobState& state, const SiteDispatch& dispatch);

// Prepares a job as the command does: table reset, list cleared, m_listState Running,
// m_subType -1, m_listType from the site-type box.
void PrepareListJob(JobState& state);

}  // namespace mosaiq
