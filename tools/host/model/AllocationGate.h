// Which allocations are the plug-in's: those made while one of its entry
// points runs, leaving out the host's own work inside them (the host
// operations it calls and the records of what it did). The host marks both;
// an allocation hook (tavrel-host-alloc) counts and fails only the
// plug-in's.
#pragma once

namespace tavrel::hostmodel::allocation {

inline int pluginDepth = 0;
inline int hostDepth = 0;

// Whether an allocation made now is the plug-in's.
inline bool PluginAllocates() { return pluginDepth > 0 && hostDepth == 0; }

// While one lives, the plug-in runs (an entry point the host called).
class PluginRuns {
 public:
  PluginRuns() { ++pluginDepth; }
  ~PluginRuns() { --pluginDepth; }
  PluginRuns(const PluginRuns&) = delete;
  PluginRuns& operator=(const PluginRuns&) = delete;
};

// While one lives, the host works on the plug-in's behalf.
class HostWorks {
 public:
  HostWorks() { ++hostDepth; }
  ~HostWorks() { --hostDepth; }
  HostWorks(const HostWorks&) = delete;
  HostWorks& operator=(const HostWorks&) = delete;
};

}  // namespace tavrel::hostmodel::allocation
