// In-process stand-ins for the outside libraries SMIUtility.dll and
// ClientPropertyPageLIB.dll, with their entry points by name, answering from
// the simulated rig.
#pragma once

#include <map>
#include <string>

#include "sim/host/SimContext.h"

namespace kv::sim::host {

using SymbolTable = std::map<std::string, void*>;

// The stand-ins work on this rig from now on (one rig per process).
void BindStandIns(SimContext& context);

// Entry points under the names the program looks them up by.
SymbolTable SmiUtilitySymbols();
SymbolTable AsicLibSymbols();

}  // namespace kv::sim::host
