#pragma once

class QWebEngineProfile;

namespace mosaiq {

// The login browser's profile, one per run, its storage under the user data folder. Its
// cookies are kept in step with the shared cookie store: cookies the pages set reach the store
// at once, and SyncStoreIntoBrowser() puts the store's cookies into the browser. The store's
// file is the only copy of the cookies that outlives the run. UI thread only.
QWebEngineProfile* LoginBrowserProfile();

void SyncStoreIntoBrowser();

}  // namespace mosaiq
