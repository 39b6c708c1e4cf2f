// In-process stand-ins for the outside libraries SMIUtility.dll and
// ClientPropertyPageLIB.dll, with their entry points by name, answering from
// the simulated rig.
#pragma once

#include <map>
#include <string>

#include "platform/Modules.h"
#include "sim/host/SimContext.h"

namespace kv::sim::host {

using SymbolTable = std::map<std::string, void*>;

// The stand-ins work on this rig from now on (one rig per process).
void BindStandIns(SimContext& context);

// Entry points under the names the program looks them up by.
SymbolTable SmiUtilitySymbols();
SymbolTable AsicLibSymbols();

// The modules port of a simulated host: "SMIUtility.dll" and
// "ClientPropertyPageLIB.dll" load as the stand-ins, unless named in
// KV_SIM_MISSING_LIBRARIES; no other name loads.
class StandInModules : public platform::Modules {
public:
    std::unique_ptr<platform::Module> Load(const std::string& name) override;
    std::unique_ptr<platform::Module> LoadFromProgramFolder(const std::string& name) override { return Load(name); }
};

}  // namespace kv::sim::host
