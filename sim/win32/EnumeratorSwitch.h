// Whether the system device enumerator can be created in this prefix: a rig
// whose enumerator "cannot be created" points the enumerator's TreatAs at a
// class that is never registered. Nothing of the enumerator's own
// registration changes, so taking the TreatAs away restores it completely.
#pragma once

#include <string>

namespace kv::sim::win32 {

// available=false sets HKCR\CLSID\{system device enumerator}\TreatAs to our
// unregistered class; true removes that TreatAs again when it is ours (and
// leaves anybody else's alone).
bool SetEnumeratorAvailable(bool available, std::string& error);

}  // namespace kv::sim::win32
