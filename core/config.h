#pragma once

class TClientServiceInfo;

// Reads config.xml into the client state. Never fails: a missing or broken file gives defaults.
void LoadConfig(TClientServiceInfo &info);

// Rewrites config.xml (atomically, readable by its owner only) from the client state, then brings
// the start-at-logon entry in line with AutoRun. False when the file could not be written; the old
// file and the start-at-logon entry then stay as they were.
bool SaveConfig(TClientServiceInfo &info);
