// CDxWnd: construction, destruction, and the operations made of more than
// one part.
#include "ctrl/camera/DxWnd.h"

namespace kv::ctrl {

CDxWnd::CDxWnd(platform::Ports& ports, FilterPair& filterPair, KeptLibraries& keptLibraries)
    : m_ports(ports),
      m_keptLibraries(keptLibraries),
      m_properties(filterPair),
      m_log(ports),
      m_viewer(ports, filterPair, m_properties),
      m_binding(ports, filterPair, m_smi, m_log),
      m_bridge(filterPair, ports.ui),
      m_smiSensors(m_smi),
      m_leds(ports, filterPair, m_bridge, m_properties, m_smi, m_log),
      m_p809(ports.processes) {}

CDxWnd::~CDxWnd() {
    // SMIUtility stays loaded to the end of the process, as it always has:
    // the device object created in it is never destroyed.
    m_smi.Abandon(m_keptLibraries);
}

void CDxWnd::Device_Uninit() {
    Graph_Release();
    m_properties.ClearRanges();
    m_smi.Unload();
}

void CDxWnd::SmiSensor810_Init() {
    m_smiSensors.WriteInitTable(0x810);
    SmiSensor_InitDone();
}

void CDxWnd::SmiSensor812_Init() {
    m_smiSensors.WriteInitTable(0x812);
    SmiSensor_InitDone();
}

int CDxWnd::Snapshot_Take(int formatIndex) {
    // The format hook is the face's, so that a host's override takes part.
    return m_viewer.Snapshot_Take(formatIndex, [this](std::uint8_t format) { StillPin_SelectFormat(format, 0); });
}

}  // namespace kv::ctrl
